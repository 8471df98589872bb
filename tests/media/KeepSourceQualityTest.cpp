#include "media/Probe.h"
#include "support/DecodeFrames.h"
#include "support/MediaMaker.h"
#include "support/ProfileConversion.h"

#include <gtest/gtest.h>

extern "C" {
#include <libswresample/swresample.h>
}

#include <QTemporaryDir>

using namespace talwyn;

namespace {

struct SwrDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};

// Every sample of the file's sound as 32-bit integers, channels interleaved.
std::vector<int32_t> samplesOf(const std::string& path) {
    std::vector<int32_t> samples;
    std::unique_ptr<SwrContext, SwrDeleter> converter;
    test::decodeFrames(path, AVMEDIA_TYPE_AUDIO, [&](const AVFrame& frame) {
        if (!converter) {
            SwrContext* made = nullptr;
            // The 5.1 libraries take the layouts without const; they only read them.
            auto* layout = const_cast<AVChannelLayout*>(&frame.ch_layout);
            swr_alloc_set_opts2(&made, layout, AV_SAMPLE_FMT_S32, frame.sample_rate, layout,
                                AVSampleFormat(frame.format), frame.sample_rate, 0, nullptr);
            converter.reset(made);
            swr_init(made);
        }
        const size_t at = samples.size();
        samples.resize(at + size_t(frame.nb_samples) * frame.ch_layout.nb_channels);
        auto* out = reinterpret_cast<uint8_t*>(&samples[at]);
        swr_convert(converter.get(), &out, frame.nb_samples,
                    const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
        return true;
    });
    return samples;
}

}  // namespace

// "保持原始音质" keeps the source's rate and depth in the PCM and FLAC profiles; the other
// entries still give 16 bits at the chosen rate.
TEST(KeepSourceQuality, KeepsRateAndDepthOfPcmAndFlacOutputs) {
    QTemporaryDir dir;
    struct Case {
        const char* source;
        int rate, bits;
        bool floating;
        int code;
        const char* entry;
        const char* codec;  // of the output
        int outputRate;
        bool sameSamples;
    };
    const Case cases[] = {
        {"hires.flac", 96000, 24, false, 3000, "保持原始音质", "pcm_s24le", 96000, true},
        {"hires.flac", 96000, 24, false, 3000, "48000", "pcm_s16le", 48000, false},
        {"hires.flac", 96000, 24, false, 110, "保持原始音质", "flac", 96000, true},
        {"hires.flac", 96000, 24, false, 108, "保持原始音质", "pcm_s24be", 96000, true},
        {"deep.wav", 88200, 32, false, 102, "保持原始音质", "pcm_s32le", 88200, true},
        {"float.wav", 48000, 32, true, 3001, "保持原始音质", "pcm_f32le", 48000, true},
        {"float.wav", 48000, 32, true, 110, "保持原始音质", "flac", 48000, false},
        {"cd.wav", 44100, 16, false, 3000, "保持原始音质", "pcm_s16le", 44100, true},
    };
    for (const Case& c : cases) {
        const std::string source = dir.filePath(QString::fromLatin1(c.source)).toStdString();
        if (!QFile::exists(QString::fromStdString(source))) {
            test::MediaSpec spec;
            spec.seconds = 0.5;
            spec.video = false;
            spec.sampleRate = c.rate;
            spec.bits = c.bits;
            spec.floatSamples = c.floating;
            ASSERT_EQ(test::makeMedia(source, spec), "") << c.source;
        }
        const std::string label =
            std::string(c.source) + " " + std::to_string(c.code) + " " + c.entry;
        const std::string output = dir.filePath(QStringLiteral("out%1.%2")
                                                    .arg(&c - cases)
                                                    .arg(c.code == 110   ? "flac"
                                                         : c.code == 108 ? "aiff"
                                                                         : "wav"))
                                       .toStdString();
        ASSERT_EQ(test::convertWithProfile(
                      source, c.code,
                      {{joblist::PresetKind::SampleRate, QString::fromUtf8(c.entry)}}, output),
                  "")
            << label;
        media::Probe probe;
        ASSERT_TRUE(probe.LoadFile(output)) << label << ": " << probe.LastErrMsg();
        const media::StreamSummary& audio = probe.FileStreamInfo().Streams.at(0);
        EXPECT_EQ(audio.codec, c.codec) << label;
        EXPECT_EQ(audio.sampleRate, c.outputRate) << label;
        const int expectedBits =
            std::string(c.entry) == "保持原始音质" ? std::min(c.bits, c.code == 110 ? 24 : 32) : 16;
        EXPECT_EQ(audio.bitsPerSample, expectedBits) << label;
        if (c.sameSamples) {
            const auto in = samplesOf(source), out = samplesOf(output);
            ASSERT_FALSE(in.empty()) << label;
            EXPECT_EQ(in.size(), out.size()) << label;
            EXPECT_TRUE(in == out) << label << ": the samples differ";
        }
    }
}
