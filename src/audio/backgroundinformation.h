// The information, analysed on a worker of the read pool: OpenInfo answers
// at once (pending) and the events handler hears InformationAnswered when
// the worker is done, so that binding a file, or a palette of 26, never
// waits on the disk. A file that has not answered within kAnswerBound is
// given up (answered as failed, lastError says why); its worker's late
// answer, like that of an analysis replaced by a newer one, is thrown away.
//
// A cart's `AudioInformation` in the program. UI thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "audio/information.h"
#include "audio/readpool.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class BackgroundInformation final : public Information {
 public:
  using MakeInformation = std::function<std::unique_ptr<Information>()>;
  static constexpr std::chrono::milliseconds kAnswerBound{2000};

  BackgroundInformation(MakeInformation make, ReadPool& pool, UiScheduler& scheduler);
  ~BackgroundInformation() override;
  BackgroundInformation(const BackgroundInformation&) = delete;
  BackgroundInformation& operator=(const BackgroundInformation&) = delete;

  void setEventHandler(InformationEvents* handler) override { m_handler = handler; }
  bool OpenInfo(const std::string& path) override;
  bool InfoPending() const override { return m_pending != nullptr; }
  int InfoSampleRate() const override { return m_rate; }
  FrameCount InfoTotalSamples() const override { return m_frames; }
  std::int64_t InfoDurationMs() const override { return m_durationMs; }
  std::string lastError() const override { return m_error; }

  struct Job;
  struct Link;

 private:
  void answered(const Job* job);
  void giveUp();
  void stopWatching();

  MakeInformation m_make;
  ReadPool& m_pool;
  UiScheduler& m_scheduler;
  InformationEvents* m_handler = nullptr;
  std::shared_ptr<Link> m_link;
  std::shared_ptr<Job> m_pending;  // the analysis on its way, if any
  TimerId m_watch = 0;
  std::chrono::nanoseconds m_askedAt{0};
  std::string m_askedPath;

  int m_rate = 0;
  FrameCount m_frames = 0;
  std::int64_t m_durationMs = 0;
  std::string m_error;
};

}  // namespace quillon::audio
