#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ImageDecoder.h"
#include "platform/qt/decoding/PictureFile.h"

namespace glimpa {

class QtPicture;

/// Decodes BMP, JPEG and GIF files (JPEG with libjpeg-turbo, shrunk while
/// decoding when the picture will be fitted) and prepares the pictures asked
/// for next on a worker thread. Prepared pictures wait in a cache budgeted by
/// their decoded bytes and are handed out only by decode, on the caller's
/// thread, while the file on disk is still the one that was read.
class QtImageDecoder : public ImageDecoder {
public:
    explicit QtImageDecoder(qint64 cacheBudgetBytes = 128LL * 1024 * 1024);
    ~QtImageDecoder() override;
    QtImageDecoder(const QtImageDecoder&) = delete;
    QtImageDecoder& operator=(const QtImageDecoder&) = delete;

    DecodeResult decode(const std::string& path, DisplayHint hint = {}) override;
    void prefetch(const std::vector<std::string>& paths, DisplayHint hint) override;

    /// Waits until the worker has nothing left to do.
    void waitUntilIdle();
    bool isPrepared(const std::string& path);

    /// Decodes one file on the calling thread, for a display of this kind.
    static DecodeResult decodeFile(const std::string& path, DisplayHint hint);

private:
    struct Prepared {
        std::shared_ptr<QtPicture> picture;
        PictureFile::Stamp stamp;
        DisplayHint hint;
    };
    void work();
    bool wanted(const std::string& path, DisplayHint hint) const;
    void keepWithinBudget();

    const qint64 m_budget;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_wanted;
    DisplayHint m_hint;
    std::deque<std::string> m_queue;
    std::string m_inProgress;
    std::map<std::string, Prepared> m_prepared;
    bool m_stopping = false;
    std::thread m_worker;
};

}  // namespace glimpa
