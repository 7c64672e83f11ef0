// Palette dialogs answered by the test: each file dialog gives the next
// scripted answer (none left, or an empty one: cancelled), each call is recorded.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "palette/palettedialogs.h"

namespace quillon::palette::test {

class ScriptedDialogs {
 public:
  struct Shown {
    std::string kind;  // "save", "open", "inform", "warn", "question"
    QString title;
    QString text;
  };

  PaletteDialogs hooks() {
    PaletteDialogs d;
    d.askSavePath = [this](const QString& title) { return path("save", title); };
    d.askOpenPath = [this](const QString& title) { return path("open", title); };
    d.inform = [this](const QString& title, const QString& text) {
      shown.push_back({"inform", title, text});
    };
    d.warn = [this](const QString& title, const QString& text) {
      shown.push_back({"warn", title, text});
    };
    d.askYesNo = [this](const QString& title, const QString& text) {
      shown.push_back({"question", title, text});
      return answerYes;
    };
    d.processEvents = [this] { ++eventsProcessed; };
    return d;
  }

  std::deque<QString> paths;  // an empty string answers as a cancel
  bool answerYes = false;
  std::vector<Shown> shown;
  int eventsProcessed = 0;

 private:
  std::optional<QString> path(const char* kind, const QString& title) {
    shown.push_back({kind, title, {}});
    if (paths.empty()) return std::nullopt;
    const QString answer = paths.front();
    paths.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
};

}  // namespace quillon::palette::test
