// A web browser that only takes notes, for one run: while a RecordingBrowser lives, the Wine
// session opens http and https addresses with vt_url_recorder, which writes them to a log.
// The session has no browser before (tests/wine/with-wine.sh) nor after.
#pragma once

#include <string>
#include <vector>

namespace vt::test {

class RecordingBrowser {
  public:
    // Registers VT_URL_RECORDER as the handler of both schemes, logging to `log` (emptied
    // first). Throws std::runtime_error when it cannot.
    explicit RecordingBrowser(std::wstring log);
    ~RecordingBrowser();
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    // Every address handed to the browser so far, in order, once `expected` have come and no
    // recorder runs any more (or a minute has passed).
    std::vector<std::wstring> Addresses(std::size_t expected) const;

  private:
    std::wstring log_;
};

} // namespace vt::test
