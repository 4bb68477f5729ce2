// Every data-file reader the fuzz targets and the regression inputs go through, one line each:
//     WAVORA_READER(name, extension, reader function, FormatType, wavora-batch --format)
// `make fuzz` builds a target fuzz_<name> for each line (tests/fuzz), and `make test` replays the
// files in tests/regress/<name>/ through the reader and, when the last field is not empty, through
// wavora-batch. The reader is called as Outcome(const std::string& path, WaveRecord&, const
// Progress&); a reader with other arguments gets a small adapter of that form in
// support/reader_check.h. No include guard: the includer defines WAVORA_READER.

WAVORA_READER(standard_csv, csv, ReadStandardCsv, CsvDefault, default)
WAVORA_READER(dspcsv, csv, ReadDspCsv, CsvGpl, gpl)
WAVORA_READER(spc51, dbl, ReadSpc51, Spc51, spc51)
WAVORA_READER(spc35, dbl, ReadSpc35, Spc35, spc35)
WAVORA_READER(csv_import, csv, ReadImportedCsv, CsvArbitrary, )
