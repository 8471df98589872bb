#include "media/StreamPipeline.h"

#include "media/AvError.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <fmt/printf.h>

namespace talwyn::media {
namespace {

void addGlobalHeader(AVCodecContext* encoder, const AVFormatContext* output) {
    if (output->oformat->flags & AVFMT_GLOBALHEADER) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
}

}  // namespace

StreamPipeline::~StreamPipeline() = default;

bool StreamPipeline::openDecoder(std::string& error) {
    const AVCodec* decoder = avcodec_find_decoder(input_->codecpar->codec_id);
    if (!decoder) {
        error = std::string("没有可以解码 ") + avcodec_get_name(input_->codecpar->codec_id) +
                " 的解码器";
        return false;
    }
    decoder_.reset(avcodec_alloc_context3(decoder));
    if (!decoder_) {
        error = "内存不足，无法建立解码器";
        return false;
    }
    if (const int status = avcodec_parameters_to_context(decoder_.get(), input_->codecpar);
        status < 0) {
        error = "无法设置解码器: " + avErrorText(status);
        return false;
    }
    decoder_->pkt_timebase = input_->time_base;
    decoder_->thread_count = video_ ? 0 : 1;
    if (const int status = avcodec_open2(decoder_.get(), decoder, nullptr); status < 0) {
        error = "无法打开解码器: " + avErrorText(status);
        return false;
    }
    return true;
}

std::unique_ptr<StreamPipeline> StreamPipeline::createAudio(AVStream* input,
                                                            AVFormatContext* output,
                                                            const AudioPlan& plan,
                                                            int64_t startTime, std::string& error,
                                                            std::vector<std::string>& notes) {
    std::unique_ptr<StreamPipeline> pipeline(new StreamPipeline);
    pipeline->video_ = false;
    pipeline->input_ = input;
    pipeline->output_ = output;
    pipeline->audioPlan_ = plan;
    pipeline->startOffset_ = av_rescale_q(startTime, AV_TIME_BASE_Q, input->time_base);
    if (!pipeline->openDecoder(error)) {
        return nullptr;
    }
    for (const bool withBitRate : {true, false}) {
        CodecContextPtr encoder(avcodec_alloc_context3(plan.encoder));
        if (!encoder) {
            error = "内存不足，无法建立音频编码器";
            return nullptr;
        }
        encoder->sample_rate = plan.sampleRate;
        av_channel_layout_default(&encoder->ch_layout, plan.channels);
        encoder->sample_fmt = plan.sampleFormat;
        if (plan.bitsPerSample > 0) {
            encoder->bits_per_raw_sample = plan.bitsPerSample;
        }
        encoder->time_base = {1, plan.sampleRate};
        if (withBitRate && plan.bitRate > 0) {
            encoder->bit_rate = plan.bitRate;
        }
        addGlobalHeader(encoder.get(), output);
        const int status = avcodec_open2(encoder.get(), plan.encoder, nullptr);
        if (status >= 0) {
            pipeline->encoder_ = std::move(encoder);
            break;
        }
        if (!withBitRate || plan.bitRate <= 0) {
            error = fmt::sprintf("音频编码器 %s 无法以 %d Hz、%d 声道工作: %s", plan.encoder->name,
                                 plan.sampleRate, plan.channels, avErrorText(status).c_str());
            return nullptr;
        }
        notes.push_back(fmt::sprintf("音频编码器 %s 不接受 %lld bit/s 的比特率，改用它自己的设置",
                                     plan.encoder->name, (long long)plan.bitRate));
    }
    if (!pipeline->addOutputStream(error)) {
        return nullptr;
    }
    return pipeline;
}

std::unique_ptr<StreamPipeline> StreamPipeline::createVideo(AVStream* input,
                                                            AVFormatContext* output,
                                                            const VideoPlan& plan,
                                                            int64_t startTime, std::string& error) {
    std::unique_ptr<StreamPipeline> pipeline(new StreamPipeline);
    pipeline->video_ = true;
    pipeline->input_ = input;
    pipeline->output_ = output;
    pipeline->videoPlan_ = plan;
    pipeline->startOffset_ = av_rescale_q(startTime, AV_TIME_BASE_Q, input->time_base);
    AVRational rate = input->avg_frame_rate.num > 0 ? input->avg_frame_rate : input->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
        pipeline->frameDuration_ =
            std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), input->time_base));
    }
    if (!pipeline->openDecoder(error)) {
        return nullptr;
    }
    // The picture keeps its shape unless an aspect is asked for.
    AVRational aspect = plan.displayAspect;
    if (aspect.num <= 0) {
        const AVCodecParameters* source = input->codecpar;
        AVRational sourceSar = source->sample_aspect_ratio;
        if (sourceSar.num <= 0 || sourceSar.den <= 0) {
            sourceSar = {1, 1};
        }
        aspect = av_mul_q(sourceSar, AVRational{source->width, source->height});
        if (plan.orientation.swapsSides()) {
            aspect = av_inv_q(aspect);
        }
    }
    AVRational sar = av_mul_q(aspect, AVRational{plan.height, plan.width});
    av_reduce(&sar.num, &sar.den, sar.num, sar.den, 255);
    pipeline->videoPlan_.displayAspect = sar;  // from here on: the sample aspect to write

    CodecContextPtr encoder(avcodec_alloc_context3(plan.encoder));
    if (!encoder) {
        error = "内存不足，无法建立视频编码器";
        return nullptr;
    }
    encoder->width = plan.width;
    encoder->height = plan.height;
    encoder->pix_fmt = plan.pixelFormat;
    encoder->time_base = av_inv_q(plan.frameRate);
    encoder->framerate = plan.frameRate;
    encoder->sample_aspect_ratio = sar;
    encoder->thread_count = 0;
    if (plan.bitRate > 0) {
        encoder->bit_rate = plan.bitRate;
    } else if (plan.encoder->id != AV_CODEC_ID_H264) {
        // Without a rate the old encoders fall back to 200 kbit/s; a fixed quality looks right.
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * 4;
    }
    if (plan.maxRate > 0) {
        encoder->rc_max_rate = plan.maxRate;
    }
    if (plan.minRate > 0) {
        encoder->rc_min_rate = plan.minRate;
    }
    if (plan.bufferSize > 0) {
        encoder->rc_buffer_size = plan.bufferSize;
    }
    if (plan.gopSize > 0) {
        encoder->gop_size = plan.gopSize;
    }
    if (plan.codecTag) {
        encoder->codec_tag = plan.codecTag;
    }
    addGlobalHeader(encoder.get(), output);
    if (const int status = avcodec_open2(encoder.get(), plan.encoder, nullptr); status < 0) {
        error = fmt::sprintf("视频编码器 %s 无法以 %dx%d、%.3g fps 工作: %s", plan.encoder->name,
                             plan.width, plan.height, av_q2d(plan.frameRate),
                             avErrorText(status).c_str());
        return nullptr;
    }
    pipeline->encoder_ = std::move(encoder);
    if (!pipeline->addOutputStream(error)) {
        return nullptr;
    }
    pipeline->outputStream_->sample_aspect_ratio = sar;
    pipeline->outputStream_->avg_frame_rate = plan.frameRate;
    return pipeline;
}

bool StreamPipeline::addOutputStream(std::string& error) {
    outputStream_ = avformat_new_stream(output_, nullptr);
    if (!outputStream_) {
        error = "内存不足，无法在输出文件中建立媒体流";
        return false;
    }
    if (const int status = avcodec_parameters_from_context(outputStream_->codecpar, encoder_.get());
        status < 0) {
        error = "无法设置输出媒体流: " + avErrorText(status);
        return false;
    }
    outputStream_->time_base = encoder_->time_base;
    return true;
}

bool StreamPipeline::initFilters(const AVFrame& first, std::string& error) {
    graph_.reset(avfilter_graph_alloc());
    if (!graph_) {
        error = "内存不足，无法建立处理链";
        return false;
    }
    graph_->nb_threads = 1;
    std::string sourceArgs, chain;
    if (video_) {
        AVRational sar = first.sample_aspect_ratio;
        if (sar.num <= 0 || sar.den <= 0) {
            sar = {1, 1};
        }
        sourceArgs = fmt::sprintf("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                                  first.width, first.height, first.format, input_->time_base.num,
                                  input_->time_base.den, sar.num, sar.den);
        const VideoPlan& p = videoPlan_;
        chain = p.orientation.filterChain();
        if (!chain.empty()) {
            chain += ',';
        }
        if (p.pictureWidth > 0) {
            chain += fmt::sprintf("scale=%d:%d:flags=bicubic,pad=%d:%d:(ow-iw)/2:(oh-ih)/2",
                                  p.pictureWidth, p.pictureHeight, p.width, p.height);
        } else {
            chain += fmt::sprintf("scale=%d:%d:flags=bicubic", p.width, p.height);
        }
        chain += fmt::sprintf(",fps=%d/%d,format=%s,setsar=%d/%d", p.frameRate.num, p.frameRate.den,
                              av_get_pix_fmt_name(p.pixelFormat), p.displayAspect.num,
                              std::max(1, p.displayAspect.den));
    } else {
        char layout[128] = {};
        if (first.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            AVChannelLayout native;
            av_channel_layout_default(&native, first.ch_layout.nb_channels);
            av_channel_layout_describe(&native, layout, sizeof layout);
        } else {
            av_channel_layout_describe(&first.ch_layout, layout, sizeof layout);
        }
        sourceArgs = fmt::sprintf("time_base=1/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s",
                                  first.sample_rate, first.sample_rate,
                                  av_get_sample_fmt_name(AVSampleFormat(first.format)), layout);
        char outLayout[128] = {};
        av_channel_layout_describe(&encoder_->ch_layout, outLayout, sizeof outLayout);
        chain =
            fmt::sprintf("aresample=%d,aformat=sample_fmts=%s:sample_rates=%d:channel_layouts=%s",
                         audioPlan_.sampleRate, av_get_sample_fmt_name(audioPlan_.sampleFormat),
                         audioPlan_.sampleRate, outLayout);
        if (audioPlan_.volume != 1.0) {
            chain += fmt::sprintf(",volume=%.4f", audioPlan_.volume);
        }
    }
    const AVFilter* sourceFilter = avfilter_get_by_name(video_ ? "buffer" : "abuffer");
    const AVFilter* sinkFilter = avfilter_get_by_name(video_ ? "buffersink" : "abuffersink");
    int status = avfilter_graph_create_filter(&source_, sourceFilter, "in", sourceArgs.c_str(),
                                              nullptr, graph_.get());
    if (status >= 0) {
        status =
            avfilter_graph_create_filter(&sink_, sinkFilter, "out", nullptr, nullptr, graph_.get());
    }
    if (status >= 0) {
        FilterInOutPtr outputs(avfilter_inout_alloc());
        FilterInOutPtr inputs(avfilter_inout_alloc());
        if (!outputs || !inputs) {
            error = "内存不足，无法建立处理链";
            return false;
        }
        outputs->name = av_strdup("in");
        outputs->filter_ctx = source_;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = sink_;
        AVFilterInOut* in = inputs.release();
        AVFilterInOut* out = outputs.release();
        status = avfilter_graph_parse_ptr(graph_.get(), chain.c_str(), &in, &out, nullptr);
        avfilter_inout_free(&in);
        avfilter_inout_free(&out);
    }
    if (status >= 0) {
        status = avfilter_graph_config(graph_.get(), nullptr);
    }
    if (status < 0) {
        error = "无法建立" + std::string(video_ ? "视频" : "音频") + "处理链 (" + chain +
                "): " + avErrorText(status);
        return false;
    }
    if (!video_ && encoder_->frame_size > 0 &&
        !(encoder_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) {
        av_buffersink_set_frame_size(sink_, unsigned(encoder_->frame_size));
    }
    return true;
}

bool StreamPipeline::push(const AVPacket& packet, std::string& error) {
    ++packets_;
    const int status = avcodec_send_packet(decoder_.get(), &packet);
    if (status < 0 && status != AVERROR(EAGAIN)) {
        ++damaged_;  // a broken packet is skipped, as players do; the task counts it
    }
    return decodeAvailable(error);
}

bool StreamPipeline::decodeAvailable(std::string& error) {
    for (;;) {
        const int status = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return true;
        }
        if (status < 0) {
            // A damaged frame is skipped and counted; the decoder goes on with the next packet.
            ++damaged_;
            if (status == AVERROR_INVALIDDATA) {
                continue;
            }
            return true;
        }
        if (!filterAndEncode(frame_.get(), error)) {
            return false;
        }
        av_frame_unref(frame_.get());
    }
}

bool StreamPipeline::filterAndEncode(AVFrame* frame, std::string& error) {
    if (frame) {
        if (!graph_ && !initFilters(*frame, error)) {
            return false;
        }
        int64_t pts = frame->best_effort_timestamp;
        // Time stamps only go forward: where they jump back (files joined end to end), the
        // frames follow on from the last.
        if (video_) {
            pts = pts == AV_NOPTS_VALUE ? nextPts_ : pts - startOffset_;
            if (anyPts_ && pts <= lastPts_) {
                pts = nextPts_;
            }
            nextPts_ = pts + std::max<int64_t>(
                                 1, frame->pkt_duration > 0 ? frame->pkt_duration : frameDuration_);
        } else {
            // Audio time stamps count samples.
            pts = pts == AV_NOPTS_VALUE ? nextPts_
                                        : av_rescale_q(pts - startOffset_, input_->time_base,
                                                       {1, frame->sample_rate});
            if (anyPts_ && pts < nextPts_) {
                pts = nextPts_;
            }
            nextPts_ = pts + frame->nb_samples;
        }
        anyPts_ = true;
        lastPts_ = pts;
        frame->pts = pts;
        if (const int status =
                av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
            status < 0) {
            error = "处理帧失败: " + avErrorText(status);
            return false;
        }
    } else if (graph_) {
        // The end comes after the last frame's duration, so a frame rate change keeps it.
        if (const int status = av_buffersrc_close(source_, nextPts_, 0); status < 0) {
            error = "处理帧失败: " + avErrorText(status);
            return false;
        }
    }
    if (!graph_) {
        return true;
    }
    for (;;) {
        const int status = av_buffersink_get_frame(sink_, filtered_.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return true;
        }
        if (status < 0) {
            error = "处理帧失败: " + avErrorText(status);
            return false;
        }
        filtered_->pts =
            av_rescale_q(filtered_->pts, av_buffersink_get_time_base(sink_), encoder_->time_base);
        filtered_->pict_type = AV_PICTURE_TYPE_NONE;
        if (observer_) {
            observer_(*filtered_);
        }
        const bool encoded = encode(filtered_.get(), error);
        av_frame_unref(filtered_.get());
        if (!encoded) {
            return false;
        }
    }
}

bool StreamPipeline::encode(AVFrame* frame, std::string& error) {
    int status = avcodec_send_frame(encoder_.get(), frame);
    if (status < 0 && status != AVERROR_EOF) {
        error = "编码失败: " + avErrorText(status);
        return false;
    }
    if (frame && video_) {
        ++frames_;
    }
    for (;;) {
        status = avcodec_receive_packet(encoder_.get(), packet_.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return true;
        }
        if (status < 0) {
            error = "编码失败: " + avErrorText(status);
            return false;
        }
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, outputStream_->time_base);
        packet_->stream_index = outputStream_->index;
        if (packet_->dts != AV_NOPTS_VALUE) {
            if (lastDts_ != AV_NOPTS_VALUE && packet_->dts <= lastDts_) {
                packet_->dts = lastDts_ + 1;  // the muxer takes rising time stamps only
            }
            if (packet_->pts != AV_NOPTS_VALUE && packet_->pts < packet_->dts) {
                packet_->pts = packet_->dts;
            }
            lastDts_ = packet_->dts;
        }
        ++packetsWritten_;
        const int64_t end = packet_->pts != AV_NOPTS_VALUE ? packet_->pts + packet_->duration : 0;
        written_ = std::max(written_, av_rescale_q(end, outputStream_->time_base, AV_TIME_BASE_Q));
        status = av_interleaved_write_frame(output_, packet_.get());
        if (status < 0) {
            error = "写入输出文件失败: " + avErrorText(status);
            return false;
        }
    }
}

bool StreamPipeline::finish(std::string& error) {
    avcodec_send_packet(decoder_.get(), nullptr);
    if (!decodeAvailable(error) || !filterAndEncode(nullptr, error)) {
        return false;
    }
    return encode(nullptr, error);
}

}  // namespace talwyn::media
