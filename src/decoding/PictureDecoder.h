#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "decoding/Limits.h"
#include "decoding/PictureFile.h"
#include "platform/services/ImageDecoder.h"

namespace glimpa {

class FilePicture;

/// Decodes BMP, JPEG and GIF files (JPEG with libjpeg-turbo, shrunk while
/// decoding when the picture will be fitted) and prepares the pictures asked
/// for next on a worker thread. Prepared pictures wait in a cache budgeted by
/// their decoded bytes and are handed out only by decode, while the file on
/// disk is still the one that was read.
///
/// Threads: decode and prefetch are called on the user-interface thread,
/// which alone reads the screen's density and puts it into each request; the
/// worker thread only reads files and decodes, touching no GUI object. The
/// wanted list, the queue, the work in progress and the prepared pictures
/// are shared and guarded by m_mutex.
class PictureDecoder : public ImageDecoder {
public:
    explicit PictureDecoder(std::int64_t cacheBudgetBytes = limits::kPreparedBytes);
    ~PictureDecoder() override;
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    DecodeResult decode(const std::string& path, DisplayHint hint = {}) override;
    void prefetch(const std::vector<std::string>& paths, DisplayHint hint) override;

    /// Waits until the worker has nothing left to do.
    void waitUntilIdle();
    bool isPrepared(const std::string& path);

    /// What a display asks for: the frame and the density of its screen.
    struct Request {
        DisplayHint hint;
        double density = 1;
        bool operator==(const Request&) const = default;
    };
    /// Decodes one file on the calling thread for a display of this kind.
    static DecodeResult decodeFile(const std::string& path, Request request);

private:
    struct Prepared {
        std::shared_ptr<FilePicture> picture;
        PictureFile::Stamp stamp;
        Request request;
    };
    static Request requestFor(DisplayHint hint);
    void work();
    bool wanted(const std::string& path, const Request& request) const;
    void keepWithinBudget();

    const std::int64_t m_budget;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_wanted;
    Request m_request;
    std::deque<std::string> m_queue;
    std::string m_inProgress;
    Request m_inProgressRequest;
    std::map<std::string, Prepared> m_prepared;
    bool m_stopping = false;
    std::thread m_worker;
};

}  // namespace glimpa
