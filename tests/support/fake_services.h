#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"

namespace hvr::testing {

// Records every box and answers questions and save dialogs from a script.
class FakeDialogs final : public platform::Dialogs {
  public:
    struct Box {
        std::string kind; // "message" or "question"
        std::string text;
        std::string title;
        bool operator==(const Box&) const = default;
    };

    void message(std::string_view text, std::string_view title) override {
        boxes.push_back({"message", std::string(text), std::string(title)});
    }
    bool askYesNo(std::string_view text, std::string_view title) override {
        boxes.push_back({"question", std::string(text), std::string(title)});
        if (answers.empty()) return false; // the default button
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<std::string> chooseSaveFile(const platform::SaveRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) return std::nullopt;
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<platform::SaveRequest> saveRequests;
};

// Counts the times a command lets pending events run, and runs a hook then.
class FakeEvents final : public platform::Events {
  public:
    void processPending() override {
        ++calls;
        if (onProcess) onProcess();
    }
    void quit() override { ++quits; }
    int calls = 0;
    int quits = 0;
    std::function<void()> onProcess;
};

// Keeps the bitmaps it is asked to save, or fails on request.
class FakePictureFiles final : public platform::PictureFiles {
  public:
    bool saveBitmap(const platform::Picture& picture, int widthTwips, int heightTwips,
                    const std::string& path) override {
        if (failWrites) return false;
        saved.push_back({picture, widthTwips, heightTwips, path});
        return true;
    }
    struct Saved {
        platform::Picture picture;
        int width;
        int height;
        std::string path;
    };
    std::vector<Saved> saved;
    bool failWrites = false;
};

// Records the addresses it was asked to open.
class FakeShell final : public platform::Shell {
  public:
    void openUrl(std::string_view url) override { opened.emplace_back(url); }
    std::vector<std::string> opened;
};

// Files in memory; writes fail on request.
class FakeFileSystem final : public platform::FileSystem {
  public:
    std::string homeDirectory() override { return "/home/engineer"; }
    bool ensureDirectory(const std::string& path) override {
        directories.push_back(path);
        return true;
    }
    bool saveFile(const std::string& path, std::string_view bytes, std::string* why = nullptr) override {
        if (failWrites) {
            if (why != nullptr) *why = "磁盘已满";
            return false;
        }
        files[path] = std::string(bytes);
        return true;
    }

    std::map<std::string, std::string> files;
    std::vector<std::string> directories;
    bool failWrites = false;
};

} // namespace hvr::testing
