#include "platform/qt/QtImageDecoder.h"

#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/decoding/Decode.h"

namespace glimpa {

namespace {

// Natural-size display must work for photos of 100 megapixels.
constexpr int kAllocationLimitMb = 512;

/// The device pixels a fitted display gives this picture; empty when it is
/// shown at its natural size (smaller than the frame in both directions).
QSize fittedPixels(QSize natural, DisplayHint hint) {
    if (!hint.fits() || natural.isEmpty() ||
        (natural.width() < hint.fitWidthPx && natural.height() < hint.fitHeightPx)) {
        return {};
    }
    const double scale = std::min(static_cast<double>(hint.fitWidthPx) / natural.width(),
                                  static_cast<double>(hint.fitHeightPx) / natural.height());
    const qreal density = screenDensity();
    return {std::max(1, static_cast<int>(std::lround(natural.width() * scale * density))),
            std::max(1, static_cast<int>(std::lround(natural.height() * scale * density)))};
}

}  // namespace

QtImageDecoder::QtImageDecoder(qint64 cacheBudgetBytes) : m_budget(cacheBudgetBytes) {
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    m_worker = std::thread([this] { work(); });
}

QtImageDecoder::~QtImageDecoder() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    m_worker.join();
}

DecodeResult QtImageDecoder::decodeFile(const std::string& path, DisplayHint hint) {
    std::string error;
    const auto file = readPictureFile(path, error);
    if (!file) {
        return {nullptr, error};
    }
    const auto natural = pictureSize(file->bytes, error);
    if (!natural) {
        return {nullptr, error};
    }
    const QSize fitted = fittedPixels(*natural, hint);
    DecodedImage decoded = decodePicture(file->bytes, fitted);
    if (!decoded) {
        return {nullptr, decoded.error};
    }
    auto picture = std::make_shared<QtPicture>(decoded.natural, std::move(decoded.image),
                                               file->path, file->stamp);
    if (!fitted.isEmpty()) {
        picture->imageAt(fitted);  // ready to paint
    }
    return {std::move(picture), {}};
}

DecodeResult QtImageDecoder::decode(const std::string& path, DisplayHint hint) {
    std::unique_lock lock(m_mutex);
    // A picture the worker is on now is worth waiting for.
    m_changed.wait(lock, [&] { return m_inProgress != path; });
    const auto found = m_prepared.find(path);
    if (found != m_prepared.end()) {
        Prepared prepared = std::move(found->second);
        m_prepared.erase(found);
        lock.unlock();
        if (prepared.hint == hint && stampOf(path) == prepared.stamp) {
            return {std::move(prepared.picture), {}};
        }
    } else {
        lock.unlock();
    }
    return decodeFile(path, hint);
}

void QtImageDecoder::prefetch(const std::vector<std::string>& paths, DisplayHint hint) {
    {
        const std::lock_guard lock(m_mutex);
        m_wanted = paths;
        m_hint = hint;
        std::erase_if(m_prepared,
                      [&](const auto& entry) { return !wanted(entry.first, entry.second.hint); });
        m_queue.clear();
        for (const auto& path : paths) {
            if (!m_prepared.contains(path) && path != m_inProgress) {
                m_queue.push_back(path);
            }
        }
    }
    m_changed.notify_all();
}

bool QtImageDecoder::wanted(const std::string& path, DisplayHint hint) const {
    return hint == m_hint && std::find(m_wanted.begin(), m_wanted.end(), path) != m_wanted.end();
}

void QtImageDecoder::waitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queue.empty() && m_inProgress.empty(); });
}

bool QtImageDecoder::isPrepared(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    return m_prepared.contains(path);
}

void QtImageDecoder::keepWithinBudget() {
    // The least wanted go first: the order of m_wanted is the order of need.
    qint64 held = 0;
    for (const auto& path : m_wanted) {
        const auto found = m_prepared.find(path);
        if (found == m_prepared.end()) {
            continue;
        }
        held += found->second.picture->heldBytes();
        if (held > m_budget) {
            m_prepared.erase(found);
        }
    }
}

void QtImageDecoder::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) {
            return;
        }
        const std::string path = m_queue.front();
        m_queue.pop_front();
        const DisplayHint hint = m_hint;
        m_inProgress = path;
        lock.unlock();
        DecodeResult result = decodeFile(path, hint);
        lock.lock();
        m_inProgress.clear();
        if (result && wanted(path, hint)) {
            auto picture = std::static_pointer_cast<QtPicture>(
                std::const_pointer_cast<PictureData>(result.picture));
            const PictureFile::Stamp stamp = picture->stamp();
            m_prepared[path] = {std::move(picture), stamp, hint};
            keepWithinBudget();
        }
        m_changed.notify_all();
    }
}

}  // namespace glimpa
