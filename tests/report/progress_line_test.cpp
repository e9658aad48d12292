// The report's progress line: the counts in place on one line, written again only when
// they change, wiped at the end so what follows starts on a clean line, and nothing at
// all for a scan that ends before the first showing.
#include "report/progress_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

// The terminal: written by the progress thread, read by the test meanwhile.
class TerminalSink : public report::ReportSink {
public:
    void Write(std::string_view text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_text.append(text);
    }
    std::string Text() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_text;
    }
    bool WaitFor(const std::string& piece) {
        for (int i = 0; i < 500; ++i) {
            if (Text().find(piece) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

private:
    std::mutex m_mutex;
    std::string m_text;
};

size_t Count(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

TEST(ProgressLineTest, CountsInPlaceOnOneLineAndWipedAtTheEnd) {
    TerminalSink terminal;
    ScanControl control;
    report::ProgressLine progress(terminal, control, 0);
    control.filesRead = 4512;
    ASSERT_TRUE(progress.Start());
    // Nothing before the listing has counted the files.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ("", terminal.Text());
    control.filesTotal = 10000;
    ASSERT_TRUE(terminal.WaitFor("\rLese Ordnerdateien: 4.512 von 10.000"));
    // Unchanged counts are not written again, however long the scan waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(1u, Count(terminal.Text(), "4.512"));
    control.filesRead = 10000;
    ASSERT_TRUE(terminal.WaitFor("\rLese Ordnerdateien: 10.000 von 10.000"));
    progress.Stop();
    const std::string line = "Lese Ordnerdateien: 10.000 von 10.000";
    const std::string text = terminal.Text();
    const std::string wipe = "\r" + std::string(line.size(), ' ') + "\r";
    ASSERT_GE(text.size(), wipe.size());
    EXPECT_EQ(wipe, text.substr(text.size() - wipe.size()));
    EXPECT_EQ(std::string::npos, text.find('\n'));
    // Stopped: nothing more, not even a second wipe.
    progress.Stop();
    EXPECT_EQ(text, terminal.Text());
}

TEST(ProgressLineTest, AScanThatEndsBeforeTheFirstShowingLeavesNothing) {
    TerminalSink terminal;
    ScanControl control;
    control.filesTotal = 20;
    control.filesRead = 20;
    {
        report::ProgressLine progress(terminal, control);
        ASSERT_TRUE(progress.Start());
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    } // stopped by its end
    EXPECT_EQ("", terminal.Text());
}

} // namespace
