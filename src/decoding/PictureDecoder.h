#pragma once

#include <QSize>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "decoding/FilePicture.h"
#include "decoding/Limits.h"
#include "decoding/PictureFile.h"
#include "platform/services/ImageDecoder.h"

namespace glimpa {

/// Decodes BMP, JPEG and GIF files (JPEG with libjpeg-turbo, shrunk while
/// decoding when the picture will be fitted) and prepares the pictures asked
/// for next on a worker thread. Prepared pictures wait in a cache budgeted by
/// their decoded bytes and are handed out only by decode, while the file on
/// disk is still the one that was read. The picture left, when it is
/// wanted as a neighbour of the new one, is taken back rather than decoded
/// again. Asked for a picture not wanted, the decoder lets the prepared ones
/// go before decoding it.
///
/// At leisure the one picture most likely next is prepared, in full. A
/// picture asked for in a hurry (soon after the one before, as while a key
/// is held down) is decoded coarsely, and the two most likely next are
/// prepared coarsely too, side by side on two threads: together they keep
/// ahead of a key held down over large photos. Once the user pauses, the
/// neighbour is prepared in full again. More of a picture handed out is
/// decoded on the worker when a paint asks for more pixels than it holds, in
/// a hurry only once the user pauses. The worker tells of such a picture
/// with the function given, from its own thread; it then waits for the next
/// paint.
///
/// Threads: decode and prefetch are called on the user-interface thread,
/// which alone reads the screen's density and puts it into each request; the
/// worker thread, and its helper in a hurry, only read files and decode,
/// touching no GUI object. The wanted list, the queue, the work in progress,
/// the picture to refine and the prepared pictures are shared and guarded by
/// m_mutex.
class PictureDecoder : public ImageDecoder {
public:
    /// Asked for within this time after the one before was had, a picture is
    /// hurried.
    static constexpr std::chrono::milliseconds kHurried{150};

    explicit PictureDecoder(std::function<void()> refined = {},
                            std::int64_t cacheBudgetBytes = limits::kPreparedBytes,
                            std::chrono::milliseconds hurriedWithin = kHurried);
    ~PictureDecoder() override;
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    DecodeResult decode(const std::string& path, DisplayHint hint = {}) override;
    bool isPicture(const std::string& path) override { return isPictureFile(path); }
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
    /// Decodes one file on the calling thread for a display of this kind,
    /// coarsely (the JPEG's smallest scale) when asked to. The picture asks
    /// for more of itself through `more`. A picture that would take more
    /// than `withinBytes` is not decoded.
    static DecodeResult decodeFile(const std::string& path, Request request,
                                   const FilePicture::MoreWanted& more = {}, bool coarse = false,
                                   std::int64_t withinBytes = limits::kMaxDecodedBytes);

private:
    struct Prepared {
        std::shared_ptr<FilePicture> picture;
        PictureFile::Stamp stamp;
        Request request;
        bool coarse = false;
        qint64 bytes = 0;  // counted when made, by the thread that owned it
    };
    /// A picture decode handed out: the user's picture now, a neighbour of
    /// the next one.
    struct HandedOut {
        std::string path;
        std::weak_ptr<FilePicture> picture;  // held by the user-interface thread
        Prepared prepared;                   // all but the picture
    };
    struct Refinement {
        std::weak_ptr<const FilePicture> picture;
        QSize cover;
    };
    static Request requestFor(DisplayHint hint);
    /// How a picture handed out asks for more of itself: on the worker.
    FilePicture::MoreWanted moreWanted();
    /// Makes these the pictures to prepare; under m_mutex.
    void want(std::vector<std::string> paths);
    /// Remembers the picture decode hands out, and the one handed out before.
    void handOut(const std::string& path, const Prepared& prepared);
    /// Takes the pictures handed out last that are wanted again as
    /// neighbours back into the prepared ones; under m_mutex.
    void reclaimHandedOut();
    void refine(std::unique_lock<std::mutex>& lock);
    void prepareNext(std::unique_lock<std::mutex>& lock, bool coarse);
    /// The worker does all the work there is; its helper only prepares
    /// pictures in a hurry.
    void work(bool helper);
    /// The neighbours to prepare now; under m_mutex.
    std::vector<std::string> likelyNext() const;
    bool underWay(const std::string& path, const Request& request) const;
    struct Decoding {
        std::string path;
        Request request;
    };
    std::vector<Decoding>::const_iterator decoding(const std::string& path,
                                                   const Request& request) const;
    bool wanted(const std::string& path, const Request& request) const;
    void keepWithinBudget();
    /// What the budget leaves for this picture after the ones wanted more.
    std::int64_t roomFor(const std::string& path) const;

    const std::function<void()> m_refined;
    const std::int64_t m_budget;
    const std::chrono::milliseconds m_hurriedWithin;
    std::chrono::steady_clock::time_point m_lastDecode;  // user-interface thread
    std::mutex m_mutex;
    /// The last decode, and whether it came soon after the one before: the
    /// worker then prepares coarsely and refines only once the user pauses.
    std::chrono::steady_clock::time_point m_lastDecodeShared;
    bool m_hurried = false;
    std::optional<Refinement> m_refinement;
    bool m_refining = false;
    std::condition_variable m_changed;
    /// The pictures likely next, and those of them prepared now.
    std::vector<std::string> m_neighbours;
    std::vector<std::string> m_wanted;
    Request m_request;
    std::deque<std::string> m_queue;
    std::vector<Decoding> m_inProgress;
    std::map<std::string, Prepared> m_prepared;
    /// The picture decode handed out last, and the one before it, held until
    /// the neighbours of the last are known: paging on, the picture left is
    /// a neighbour and need not be decoded again.
    std::optional<HandedOut> m_latest;
    std::optional<HandedOut> m_previous;
    bool m_stopping = false;
    std::thread m_worker;
    std::thread m_helper;
};

}  // namespace glimpa
