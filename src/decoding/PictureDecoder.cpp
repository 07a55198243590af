#include "decoding/PictureDecoder.h"

#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

#include "decoding/Decode.h"
#include "decoding/FilePicture.h"
#include "decoding/JpegMarkers.h"
#include "decoding/ScreenDensity.h"

namespace glimpa {

namespace {

// Why a picture could not be shown, one line a failure; off unless enabled
// (QT_LOGGING_RULES="glimpa.decode.info=true").
Q_LOGGING_CATEGORY(decodeLog, "glimpa.decode", QtWarningMsg)

/// The device pixels a fitted display gives this picture; empty when it is
/// shown at its natural size (smaller than the frame in both directions, one
/// pixel to one pixel of the screen).
QSize fittedPixels(QSize natural, const PictureDecoder::Request& request) {
    const DisplayHint& hint = request.hint;
    if (!hint.fits() || natural.isEmpty() ||
        (natural.width() < hint.fitWidthPx * request.density &&
         natural.height() < hint.fitHeightPx * request.density)) {
        return {};
    }
    const double scale = std::min(static_cast<double>(hint.fitWidthPx) / natural.width(),
                                  static_cast<double>(hint.fitHeightPx) / natural.height());
    // The device pixels of the picture widget: whole logical pixels first,
    // then the screen's density, as the widget has them.
    const auto side = [&](int length) {
        const auto logical = std::max(1L, std::lround(length * scale));
        return qRound(static_cast<double>(logical) * request.density);
    };
    return {side(natural.width()), side(natural.height())};
}

}  // namespace

PictureDecoder::PictureDecoder(std::function<void()> refined, std::int64_t cacheBudgetBytes,
                               std::chrono::milliseconds hurriedWithin)
    : m_refined(std::move(refined)), m_budget(cacheBudgetBytes), m_hurriedWithin(hurriedWithin) {
    // Qt's own readers (BMP and GIF) may take what a picture may take.
    constexpr std::int64_t kMegabyte = 1024 * 1024;
    QImageReader::setAllocationLimit(
        static_cast<int>((limits::decodedBytesBudget() + kMegabyte - 1) / kMegabyte));
    m_worker = std::thread([this] { work(false); });
    m_helper = std::thread([this] { work(true); });
}

PictureDecoder::~PictureDecoder() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
        m_refinement.reset();
    }
    m_changed.notify_all();
    m_worker.join();
    m_helper.join();
}

PictureDecoder::Request PictureDecoder::requestFor(DisplayHint hint) {
    return {hint, screenDensity()};
}

DecodeResult PictureDecoder::decodeFile(const std::string& path, Request request,
                                        const FilePicture::MoreWanted& more, bool coarse,
                                        std::int64_t withinBytes) {
    std::string error;
    const auto file = openPictureFile(path, error);
    if (!file) {
        return {nullptr, error};
    }
    const auto natural = pictureSize(file->bytes, file->stamp.size, error);
    if (!natural) {
        return {nullptr, error};
    }
    const QSize fitted = fittedPixels(*natural, request);
    // A picture fitted, or a large one at its natural size, is had quickest
    // at a JPEG's smallest scale.
    const bool large = !fitted.isEmpty() || std::int64_t{natural->width()} * natural->height() >
                                                limits::kCoarseAbovePixels;
    const bool coarsely = coarse && large && isJpeg(file->bytes);
    // What it takes decoded, which the budget holds to its share of memory.
    const QSize held =
        withinBudget(fitted.isEmpty() ? *natural : fitted, limits::decodedBytesBudget());
    if (!coarsely && decodedBytes(held) > withinBytes) {
        return {nullptr, "larger than the pictures prepared ahead may hold"};
    }
    // Ahead of need, a JPEG of several scans may hold no more coefficients
    // while it decodes than a picture may hold pixels.
    DecodeLimits within;
    if (withinBytes < limits::kMaxDecodedBytes) {
        within.maxCoefficientBytes = within.maxDecodedBytes;
    }
    DecodedImage decoded = coarsely ? decodeCoarsely(file->bytes, within, file->readOn)
                                    : decodePictureAt(file->bytes, fitted, within, file->readOn);
    if (!decoded) {
        return {nullptr, decoded.error};
    }
    if (!file->unchanged()) {
        return {nullptr, "the file changed while it was read"};
    }
    // A picture keeps where more of it comes from: its file, while unchanged.
    auto picture = std::make_shared<FilePicture>(decoded.natural, std::move(decoded.image),
                                                 FilePicture::Source{path, file->stamp},
                                                 decoded.largest, request.density);
    picture->setMoreWanted(more);
    if (!fitted.isEmpty() && !coarsely) {
        picture->imageAt(fitted);  // ready to paint
    }
    return {std::move(picture), {}};
}

DecodeResult PictureDecoder::decode(const std::string& path, DisplayHint hint) {
    const Request request = requestFor(hint);
    const auto now = std::chrono::steady_clock::now();
    // Soon after the picture before was had, however long that took: keys
    // that came meanwhile wait their turn, the user has not paused.
    const bool hurried = now - m_lastDecode < m_hurriedWithin;
    const auto had = qScopeGuard([this] {
        m_lastDecode = std::chrono::steady_clock::now();
        {
            const std::lock_guard shared(m_mutex);
            m_lastDecodeShared = m_lastDecode;
        }
        m_changed.notify_all();  // the worker keeps the time of the user's pause
    });
    std::unique_lock lock(m_mutex);
    m_hurried = hurried;
    m_lastDecodeShared = now;
    // A picture being prepared now for this display is worth waiting for.
    m_changed.wait(lock, [&] { return !underWay(path, request); });
    const auto found = m_prepared.find(path);
    std::optional<Prepared> prepared;
    if (found != m_prepared.end()) {
        prepared = std::move(found->second);
        m_prepared.erase(found);
    }
    lock.unlock();
    // A picture prepared coarsely in a hurry is not good enough at leisure.
    if (prepared && prepared->request == request && (hurried || !prepared->coarse) &&
        stampOf(path) == prepared->stamp) {
        prepared->picture->setMoreWanted(moreWanted());
        handOut(path, *prepared);
        return {std::move(prepared->picture), {}};
    }
    // A picture not among those wanted is a jump away from them: they go
    // before it is decoded, so that memory never holds them and it together.
    prepared.reset();
    lock.lock();
    if (std::find(m_wanted.begin(), m_wanted.end(), path) == m_wanted.end()) {
        m_prepared.clear();
        m_wanted.clear();
        m_queue.clear();
    }
    std::erase(m_queue, path);  // decoded here, not again beside
    lock.unlock();
    DecodeResult result = decodeFile(path, request, moreWanted(), hurried);
    if (!result) {
        qCInfo(decodeLog).noquote() << QFile::decodeName(QByteArray::fromStdString(path)) << ":"
                                    << QString::fromStdString(result.error);
        return result;
    }
    auto picture =
        std::static_pointer_cast<FilePicture>(std::const_pointer_cast<PictureData>(result.picture));
    handOut(path, {picture, picture->stamp(), request, hurried, picture->heldBytes()});
    return result;
}

void PictureDecoder::handOut(const std::string& path, const Prepared& prepared) {
    const std::lock_guard lock(m_mutex);
    m_previous.reset();
    if (m_latest && !m_latest->picture.expired()) {
        m_previous = std::move(m_latest);
        m_previous->prepared.picture = m_previous->picture.lock();
    }
    Prepared kept = prepared;
    kept.picture.reset();
    m_latest = HandedOut{path, prepared.picture, std::move(kept)};
}

FilePicture::MoreWanted PictureDecoder::moreWanted() {
    return [this](std::shared_ptr<const FilePicture> picture, QSize cover) {
        {
            const std::lock_guard lock(m_mutex);
            m_refinement = Refinement{picture, cover};
        }
        m_changed.notify_all();
    };
}

void PictureDecoder::prefetch(const std::vector<std::string>& paths, DisplayHint hint) {
    const Request request = requestFor(hint);
    {
        const std::lock_guard lock(m_mutex);
        m_neighbours = paths;
        m_request = request;
        want(likelyNext());
    }
    m_changed.notify_all();
}

std::vector<std::string> PictureDecoder::likelyNext() const {
    const std::size_t count =
        std::min<std::size_t>(m_neighbours.size(), m_hurried ? kLikelyNext : 1);
    return {m_neighbours.begin(), m_neighbours.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<PictureDecoder::Decoding>::const_iterator PictureDecoder::decoding(
    const std::string& path, const Request& request) const {
    return std::find_if(m_inProgress.begin(), m_inProgress.end(), [&](const Decoding& under) {
        return under.path == path && under.request == request;
    });
}

bool PictureDecoder::underWay(const std::string& path, const Request& request) const {
    return decoding(path, request) != m_inProgress.end();
}

void PictureDecoder::want(std::vector<std::string> paths) {
    m_wanted = std::move(paths);
    reclaimHandedOut();
    std::erase_if(m_prepared, [&](const auto& entry) {
        return !wanted(entry.first, entry.second.request) || (!m_hurried && entry.second.coarse);
    });
    m_queue.clear();
    for (const auto& path : m_wanted) {
        if (!m_prepared.contains(path) && !underWay(path, m_request)) {
            m_queue.push_back(path);
        }
    }
    keepWithinBudget();
}

void PictureDecoder::reclaimHandedOut() {
    for (auto* handedOut : {&m_previous, &m_latest}) {
        if (!*handedOut || m_prepared.contains((*handedOut)->path)) {
            continue;
        }
        Prepared prepared = (*handedOut)->prepared;
        prepared.picture = (*handedOut)->picture.lock();
        if (prepared.picture && wanted((*handedOut)->path, prepared.request)) {
            m_prepared[(*handedOut)->path] = std::move(prepared);
        }
    }
    m_previous.reset();
}

bool PictureDecoder::wanted(const std::string& path, const Request& request) const {
    return request == m_request &&
           std::find(m_wanted.begin(), m_wanted.end(), path) != m_wanted.end();
}

void PictureDecoder::waitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] {
        return m_queue.empty() && m_inProgress.empty() && !m_refinement && !m_refining &&
               !m_hurried;
    });
}

bool PictureDecoder::isPrepared(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    return m_prepared.contains(path);
}

void PictureDecoder::keepWithinBudget() {
    // The least wanted go first: the order of m_wanted is the order of need.
    std::int64_t held = 0;
    for (const auto& path : m_wanted) {
        const auto found = m_prepared.find(path);
        if (found == m_prepared.end()) {
            continue;
        }
        if (held + found->second.bytes > m_budget) {
            m_prepared.erase(found);
        } else {
            held += found->second.bytes;
        }
    }
}

std::int64_t PictureDecoder::roomFor(const std::string& path) const {
    std::int64_t room = m_budget;
    for (const auto& before : m_wanted) {
        if (before == path) {
            break;
        }
        if (const auto found = m_prepared.find(before); found != m_prepared.end()) {
            room -= found->second.bytes;
        }
    }
    return room;
}

void PictureDecoder::work(bool helper) {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        // What is on screen comes before what may be wanted next, unless the
        // user hurries on: then it waits until the user pauses, and what was
        // prepared coarsely is prepared again in full.
        const auto pause = m_lastDecodeShared + m_hurriedWithin;
        const bool paused = !m_hurried || std::chrono::steady_clock::now() >= pause;
        if (helper) {
            if (!paused && !m_queue.empty()) {
                prepareNext(lock, true);
                m_changed.notify_all();
            } else if (!paused) {
                m_changed.wait_until(lock, pause);
            } else {
                m_changed.wait(lock);
            }
            continue;
        }
        if (m_refinement && paused) {
            refine(lock);
        } else if (!m_queue.empty()) {
            prepareNext(lock, !paused);
        } else if (m_hurried && paused) {
            m_hurried = false;
            want(likelyNext());
        } else if (m_hurried) {
            m_changed.wait_until(lock, pause);
            continue;
        } else {
            m_changed.wait(lock);
            continue;
        }
        m_changed.notify_all();
    }
}

void PictureDecoder::refine(std::unique_lock<std::mutex>& lock) {
    const std::shared_ptr<const FilePicture> picture = m_refinement->picture.lock();
    const QSize cover = m_refinement->cover;
    m_refinement.reset();
    if (!picture) {
        return;
    }
    m_refining = true;
    lock.unlock();
    picture->refine(cover);
    if (m_refined) {
        m_refined();
    }
    lock.lock();
    m_refining = false;
}

void PictureDecoder::prepareNext(std::unique_lock<std::mutex>& lock, bool coarse) {
    const std::string path = m_queue.front();
    m_queue.pop_front();
    const Request request = m_request;
    const std::int64_t room = roomFor(path);
    m_inProgress.push_back({path, request});
    lock.unlock();
    // A picture that would not be kept is not decoded.
    DecodeResult result = decodeFile(path, request, {}, coarse, room);
    lock.lock();
    m_inProgress.erase(decoding(path, request));
    if (result && wanted(path, request)) {
        auto picture = std::static_pointer_cast<FilePicture>(
            std::const_pointer_cast<PictureData>(result.picture));
        const PictureFile::Stamp stamp = picture->stamp();
        const qint64 bytes = picture->heldBytes();
        m_prepared[path] = {std::move(picture), stamp, request, coarse, bytes};
        keepWithinBudget();
    }
}

}  // namespace glimpa
