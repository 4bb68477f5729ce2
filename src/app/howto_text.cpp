// The usage notes of the how-to window.

#include "app/small_windows.h"

namespace wavora {

const char* HowtoText() {
    return R"HOWTO(WAVORA 4.8 - How to use the Spectral Analyzer

1. Opening a record
   - Choose the file format under File - Format Type:
       CSV(Default)   the program's own CSV data file (names, rate and unit, memo, units, rows)
       CSV(GPL)       DSPCSV files (first line "DSPCSV", counts in 1/1024, values in Gal)
       CSV(Arbitrary) any CSV file through the import dialog
       SPC-51, SPC-35 binary .dbl files of the portable vibration meters
     Choosing a format opens the file dialog at once.
   - "File (F)" (or File - Open) opens a file of the chosen format.
   - After loading, the read-outs show the file name, number of channels, number of samples,
     sampling rate, duration, sampling interval, title, date and time unit. The grid shows the unit
     and the largest absolute value ("Max") of every channel, followed by the first 1000 samples.
   - If a file cannot be read, a message says why and the record that was open stays open.
   - A large file shows how far the reading is, with a Cancel button (or Esc); a cancelled load
     keeps the record you had.
   - CSV(Arbitrary) shows the file as a grid in "Arbitrary CSV File Data". Give the line of the
     channel names ("SiteName Line"), of the memo and of the units, the first and last data line,
     the first and last data column (at most 8 are taken) and the sampling rate with its unit.
     The arrows beside a field step it and move the grid there. OK checks every selected cell; a
     cell that is no number is named by its line and column and nothing changes. Before loading,
     OK offers to save the selection as a standard CSV file ("data.csv" -> "data_std.csv").
     Cancel keeps the record you had.

2. Looking at the waveforms
   - The picture shows every channel as a trace 400 pixels wide, starting at the Position.
     The ruler at the top gives the time from the Position in the time unit of the record.
   - The bar at the left of each trace is a round amplitude in the channel's unit; the text under
     the zero line is the scaling factor (magnification / divisor).
   - Move through the record with the slider, by typing a sample number into Position, with "0"
     (back to the start), or with the arrow buttons of the Spectrum group, which move by the
     analysis span (Points x Step, divided by the Skip setting).
   - "Start(S)" scrolls the waveforms automatically; "Stop(P)" stops. While scrolling, the
     analysis buttons are locked.
   - "Step" draws (and analyses) every 1st, 2nd, 5th or 10th sample.
   - Wave - Time Scale stretches the time axis x1, x2, x4 or x8.

3. Magnification and display options
   - Wave - Amp Scale, or a right click on the waveform, opens "Wave Format / Magnification":
       magnification per channel (type a number, then OK), which channels to show,
       a common magnification (x1 ... x1/100), the time scale, and whether to show the title,
       the channel names, the colours, the scaling factors and the file name.
     Every change is drawn at once.
   - The same options are in the Wave menu (Color, Title, Filename, Channel Comment,
     Scaling Factor).

4. Filter, integration and clipping
   - Filter - Default filters every channel with a band-pass from 1 Hz to three quarters of the
     Nyquist frequency of the chosen Step; Filter - Arbitrary opens the band-pass dialog for your
     own corners; Filter - Unfiltered switches filtering off. The "Filter" box under the slider
     switches the chosen filter on and off.
   - The band-pass dialog ("Bandpass Filter"): type the lower and upper corner (a lower corner
     of 0 gives a low-pass) and press Execute; Default and Unfiltered do what the menu items do;
     Close hides the filter picture and keeps the filter. Corners that are not a band are refused
     with "Illegal Corner Frequency".
   - Wave - Integrate - On integrates every channel (the unit becomes μ); Wave - Clipping cuts
     the peaks at 95, 90 or 80 % of the largest value. These two ask for the file again.
   - Each change re-reads the file from disk, so switching an option off restores the data.
   - The small pictures beside the speed buttons show what is active; click one to switch it off.

5. Listing the values
   - "List(L)" lists 1000 samples from the Position in the grid (physical values in the unit
     shown in the second heading row). The "Listup Data" window shows where the next page starts;
     "List Up" lists it, "Skip" sets the page length, "Close" ends the listing.

6. Spectra and further analyses
   - Check the channels, choose Points (512 ... 8192; with "min" 16 ... 256), Smooth (passes of
     1:2:1 smoothing) and Type (Amp or Power), and press "Run (R)": the segment of Points x Step
     samples at the Position is analysed for every checked channel, listed in the grid and drawn.
     Move the mouse over the spectrum to read frequency and value; a click selects the grid row.
     When the segment runs past the end of the record you are asked whether to add zeros.
   - "MEM" draws a maximum-entropy spectrum instead of the FFT; "Abs F Coeff" the absolute
     Fourier coefficients; "DC Cut" removes each channel's mean at the next load.
   - "File Save" writes every run's result as a CSV file (you are asked for the name, and before
     an existing file is replaced).
   - With "Skip" checked, each run moves the Position on by the part of the span chosen under
     Spectrum - Skip; "Back(B)" returns.
   - Spectrum - Spectral Ratio: with exactly two channels checked, the ratio A/B or B/A of their
     spectra. Spectrum - Zero Average, SubAxis, Broad Line and Right Side Comment change the
     graph; Edit - Data Comment puts the filter note on it.
   - Running spectrum: with one channel checked (two for a spectral ratio) and a spectrum run
     once, press the running spectrum speed button, or open Spectrum - Running and press "Run".
     From "Init" the spectrum is analysed again and again, moving on by "Skip" samples (from the
     list, or typed with SkipType "Edit Box"). "Multi Plot" draws the spectra one behind the other
     (at most 51; "Hidden Line" hides what lies behind); without it each spectrum is drawn alone
     and after "max" + 1 spectra their average appears in purple. "Stop (S)" (or the speed button)
     stops and lists the average in the grid; "Close (C)" closes the dialog.
   - 2-D spectrum: check "2D" and run the running spectrum: the "2D Spectrum Plot" window builds
     a time x frequency colour map, one row per step, until "Elapsed Time Max" is full (50 to 500
     rows). "Set" applies the limits and grids; hold the mouse button on the finished map to read
     ( f, t ) at the cross-hair; "Save" writes the map as a PNG file.
   - Spectrum - Format, the format speed button or a right click on the spectrum opens
     "Spectrum Format Parameters": X and Y ranges, grid counts, linear or logarithmic scales,
     frequency or period on the X axis, plot size and display options. OK applies them and runs
     again, Default returns to automatic axes, Close applies nothing. "Max Freq to Nyquist" puts
     a part of the Nyquist frequency into X max and applies it.
   - Spectrum - Statistics (checked) shows the position, points, duration, mean, largest and
     smallest value and mean square of the segment of the channel analysed last; each run
     updates it. Uncheck the item to close the window.
   - Spectral peaks: the peak histogram speed button (or Spectrum - Spectral Peaks) opens the
     "Spectral Peaks" window. From then on every run lists the highest peaks of each channel drawn
     and counts their frequencies in the histogram (both spectrum axes must be linear).
     "Value(V)" lists the classes, "Order(O)" the classes by count, "Clear(K)" starts again,
     "Close(C)" stops collecting. Help - Help for Peaks in that window explains the rest.
   - Automatic skipping: with the peaks window open, the automatic skipping speed button (or
     "Run/Stop(R)" in the peaks window) clears the statistics and runs the spectrum again and
     again, moving on by Spectrum - Skip after each run, every 200 ms (Frequency - Time Interval).
     At the end of the record it stops by itself, returns to position 0 and shows the Order
     listing: the dominant frequencies of the whole record. Press the button again to stop early.
   - Correlation: check one channel (auto-correlation) or two (cross-correlation) and press the
     correlation speed button. Every 100 ms the function of Points samples from the Position is
     drawn and the Position moves on by 10 x Step. Press the button again to stop: the grid lists
     the 350 lags and the picture reports the period of the zero crossings (run a spectrum once
     before, so that the analysis interval is known).
   - Only one timed analysis runs at a time; stop the one running before starting another.
     Opening a record ends the automatic skipping, the correlation analysis and the running
     spectrum.

7. Title, comment, channel names and data files
   - Edit - File Comment edits the title, the comment and the channel names. In an SPC-51 file
     they are written into the file itself (each at most 32 bytes; a longer text is cut and you
     are told); for the other formats they change only the record in memory. The picture then
     shows the new texts.
   - File - Write Data File writes all data, or the analysed data, as a standard CSV data file
     that opens again as the same record.

8. Saving and copying the picture
   - The copy button (or Edit - Copy) puts the picture on the clipboard.
   - The save button writes the picture as a PNG file; ".png" is added to a name without an
     extension, and you are asked before an existing file is replaced.

9. Help
   - Help - Readme.htm opens the manual in your web browser; Help - Version shows the version and
     the date of the program file. Click the WAVORA title picture for the version as well.

10. Without a window
   - wavora-batch runs the same analyses on data files from the command line, for folders of
     records: info, data, spectrum (the result file and the picture), stats, peaks, correlation,
     running, map, import and comment. "wavora-batch --help" lists them; the manual describes
     each.

"Exit (E)" asks before the program ends.
)HOWTO";
}

}  // namespace wavora
