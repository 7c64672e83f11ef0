#include "barefeedloop.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace quillon::bench {

long long decodeWithBareLoop(const std::string& path, std::vector<std::int16_t>& scratch) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1;
  long long frames = -1;
  const AVCodec* codec = nullptr;
  AVCodecContext* decoder = nullptr;
  SwrContext* swr = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  const int stream = avformat_find_stream_info(format, nullptr) < 0
                         ? -1
                         : av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (stream >= 0 && (decoder = avcodec_alloc_context3(codec)) != nullptr &&
      avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar) >= 0 &&
      avcodec_open2(decoder, codec, nullptr) >= 0) {
    AVChannelLayout out{};
    av_channel_layout_default(&out, decoder->ch_layout.nb_channels == 1 ? 1 : 2);
    const int channels = out.nb_channels;
    if (swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, decoder->sample_rate,
                            &decoder->ch_layout, decoder->sample_fmt, decoder->sample_rate, 0,
                            nullptr) >= 0 &&
        swr_init(swr) >= 0) {
      frames = 0;
      bool draining = false;
      while (!draining) {
        if (av_read_frame(format, packet) < 0) {
          draining = true;
          avcodec_send_packet(decoder, nullptr);
        } else {
          if (packet->stream_index == stream) avcodec_send_packet(decoder, packet);
          av_packet_unref(packet);
        }
        while (avcodec_receive_frame(decoder, frame) >= 0) {
          const int capacity = swr_get_out_samples(swr, frame->nb_samples);
          if (scratch.size() < static_cast<std::size_t>(capacity * channels)) {
            scratch.resize(static_cast<std::size_t>(capacity * channels));
          }
          auto* target = reinterpret_cast<std::uint8_t*>(scratch.data());
          const int got = swr_convert(swr, &target, capacity,
                                      const_cast<const std::uint8_t**>(frame->extended_data),
                                      frame->nb_samples);
          if (got > 0) frames += got;
        }
      }
    }
  }
  swr_free(&swr);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&decoder);
  avformat_close_input(&format);
  return frames;
}

}  // namespace quillon::bench
