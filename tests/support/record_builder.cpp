#include "support/record_builder.h"

namespace wavora::test {

WaveRecord SyntheticRecord(int channels, int samples, const std::function<int16_t(int, int)>& f,
                           const std::string& namePrefix, float scale) {
    WaveRecord r;
    r.ChannelCount = channels;
    r.SampleCount = samples;
    r.SamplingRate = 100;
    r.SamplingInterval = 0.01f;
    for (int c = 0; c < channels; ++c) {
        ChannelInfo& ch = r.Channels[c];
        ch.Name = namePrefix + std::to_string(c + 1);
        ch.ScaleFactor = scale;
        ch.Samples.resize(samples);
        for (int i = 0; i < samples; ++i) ch.Samples[i] = f(c, i);
    }
    return r;
}

}  // namespace wavora::test
