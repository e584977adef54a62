#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "tests/support/fake_text_measure.h"
#include "platform/preferences.h"
#include "platform/printer.h"
#include "platform/file_system.h"
#include "platform/shell.h"

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

// A printer that keeps what is printed on it, sheet by sheet. Lines are 1.25 points a point
// high, characters half a point wide (a CJK character one point) per point of the font.
class FakePrinter final : public platform::Printer {
  public:
    struct Text {
        platform::PrintFont font;
        double x;
        double y;
        std::string text;
    };
    double lineHeight(const platform::PrintFont& font) override { return font.points * 25; }
    double textWidth(const platform::PrintFont& font, std::string_view text) override {
        double columns = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c < 0x80)
                columns += 1;
            else if (c >= 0xE0)
                columns += 2; // a three-byte character: a CJK one, two columns
        }
        return columns * font.points * 10;
    }
    void beginSheet(double height, double width) override {
        sheets.emplace_back();
        sizes.emplace_back(height, width);
    }
    void text(const platform::PrintFont& font, double x, double y, std::string_view text) override {
        if (!sheets.empty()) sheets.back().push_back({font, x, y, std::string(text)});
    }
    bool finish() override {
        ++finishes;
        return !fails;
    }
    std::vector<std::vector<Text>> sheets;
    std::vector<std::pair<double, double>> sizes;
    int finishes = 0;
    bool fails = false;
};

// The print dialogs, played by the test: what the user does in the options dialog, and the
// printer chosen (none: the printer dialog is cancelled).
class FakePrinting final : public platform::Printing {
  public:
    void runPrintOptions(Form3& dialog) override {
        ++optionsShown;
        if (inOptions) inOptions(dialog);
    }
    std::unique_ptr<platform::Printer> choosePrinter() override {
        ++printerDialogs;
        if (whileChoosing) whileChoosing(); // what the window does while the dialog is open
        if (!choosesPrinter) return nullptr;
        auto printer = std::make_unique<Forwarding>(this->printer);
        return printer;
    }
    std::function<void(Form3&)> inOptions;
    std::function<void()> whileChoosing;
    bool choosesPrinter = true;
    FakePrinter printer;
    int optionsShown = 0;
    int printerDialogs = 0;

  private:
    // The printer handed out prints on the one the test looks at.
    class Forwarding final : public platform::Printer {
      public:
        explicit Forwarding(FakePrinter& to) : m_to(to) {}
        double lineHeight(const platform::PrintFont& f) override { return m_to.lineHeight(f); }
        double textWidth(const platform::PrintFont& f, std::string_view t) override {
            return m_to.textWidth(f, t);
        }
        void beginSheet(double h, double w) override { m_to.beginSheet(h, w); }
        void text(const platform::PrintFont& f, double x, double y, std::string_view t) override {
            m_to.text(f, x, y, t);
        }
        bool finish() override { return m_to.finish(); }

      private:
        FakePrinter& m_to;
    };
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

// Preferences in memory.
class MemoryPreferences final : public platform::Preferences {
  public:
    std::string value(const std::string& key) const override {
        const auto found = values.find(key);
        return found == values.end() ? "" : found->second;
    }
    void setValue(const std::string& key, const std::string& value) override { values[key] = value; }
    std::map<std::string, std::string> values;
};

// Records every document saved or printed, a printed one laid out for the paper given; fails
// on request.
class FakeDocuments final : public platform::Documents {
  public:
    const platform::TextMeasure& measure() const override { return textMeasure; }
    bool savePdf(const platform::Document& document, const std::string& path, std::string* why) override {
        saved[path] = document;
        if (fail && why != nullptr) *why = "磁盘已满";
        return !fail;
    }
    platform::PrintResult
    print(const std::string&,
          const std::function<platform::Document(const platform::Paper&)>& layout) override {
        printed.push_back(layout(paper));
        return fail ? platform::PrintResult::Failed : platform::PrintResult::Printed;
    }
    std::map<std::string, platform::Document> saved;
    std::vector<platform::Document> printed;
    platform::Paper paper;
    FakeTextMeasure textMeasure;
    bool fail = false;
};

} // namespace hvr::testing
