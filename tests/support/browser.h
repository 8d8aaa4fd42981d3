// A web browser that only takes notes, for one test: while a RecordingBrowser lives, the Wine
// session opens http and https addresses with vt_url_recorder, which writes them to a log.
// The session's own handlers come back when it goes.
#pragma once

#include <string>
#include <vector>

namespace vt::test {

class RecordingBrowser {
  public:
    // Registers VT_URL_RECORDER as the handler of both schemes, logging to `logPath` (which
    // is emptied first). Throws std::runtime_error when it cannot.
    explicit RecordingBrowser(const std::wstring& logPath);
    ~RecordingBrowser();
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    // Every address handed to the browser so far, in order. Waits first until no recorder
    // process runs any more: a program that asked the browser and has ended has had its
    // recorder started, and once that has ended too its line is in the log.
    std::vector<std::wstring> Addresses() const;

  private:
    struct Saved {
        std::wstring scheme;
        bool hadCommand = false;
        unsigned long type = 0;
        std::vector<unsigned char> value;
        std::vector<std::wstring> created; // keys this made, outermost first
    };
    std::wstring log_;
    std::vector<Saved> saved_;
};

} // namespace vt::test
