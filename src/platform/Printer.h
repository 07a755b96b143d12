#pragma once

#include <string>
#include <vector>

namespace lv {

// The font every printed line is set in. Colours are platform colour values (0x00BBGGRR).
struct PrintFont {
    std::string name = "Arial";
    int size = 9;
    int color = 0;
};

struct PrintResult {
    bool printed = false;
    // Why nothing was printed; empty when the user cancelled the print dialog.
    std::string error;
};

// The system's printer, as a device for lines of text: one job per call, lines in order, each in
// the font, continuing on new sheets as they fill. Texts are UTF-8.
class Printer {
public:
    virtual ~Printer() = default;
    virtual PrintResult PrintLines(const std::vector<std::string>& lines,
                                   const PrintFont& font) = 0;
};

// A printer that keeps its jobs: for headless runs and tests.
class RecordingPrinter : public Printer {
public:
    struct Job {
        std::vector<std::string> lines;
        PrintFont font;
    };
    PrintResult PrintLines(const std::vector<std::string>& lines, const PrintFont& font) override {
        if (!failWith.empty()) {
            return {false, failWith};
        }
        jobs.push_back({lines, font});
        return {true, {}};
    }
    std::vector<Job> jobs;
    std::string failWith; // set: every job fails with this text
};

} // namespace lv
