#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "decoding/PaintablePicture.h"
#include "decoding/PictureFile.h"

namespace glimpa {

/// A picture read from a file, held as a QImage that may be smaller than the
/// picture's natural size (decoded for a fitted display, or coarsely while
/// the user moves on quickly). Once scaled for a fitted display, only the
/// scaled image is kept when the decoded one can be had again.
///
/// Painting never decodes: asked for more pixels than it holds, the picture
/// hands out what it holds (drawn scaled) and asks for more through the
/// function given to it, which decodes on another thread and offers the
/// result back; the next paint takes it. Without such a function it decodes
/// at once. More comes from its file while that file is unchanged: a file
/// changed since keeps the picture to what it holds, so that what it shows
/// is always the file as it was read.
///
/// Threads: a picture belongs to the thread that made it until it is handed
/// to the user-interface thread, and then to that thread, except refine. That
/// runs on any thread: it reads only the natural size and the source, which
/// never change, and leaves its image in m_offered under m_offerMutex, from
/// where the user-interface thread takes it.
class FilePicture : public PaintablePicture, public std::enable_shared_from_this<FilePicture> {
public:
    /// Where more of a picture comes from: its file, as it was read.
    struct Source {
        std::string path;
        PictureFile::Stamp stamp;
    };
    /// Asks for more of this picture, to cover this many device pixels (an
    /// empty size: the whole picture), to be decoded elsewhere with refine.
    using MoreWanted = std::function<void(std::shared_ptr<const FilePicture>, QSize cover)>;

    /// A decoded file: its natural size, the image decoded so far, where
    /// more of it comes from (nothing, or `largest`: the image is all there
    /// is) and the density of the screen it is shown on.
    FilePicture(QSize natural, QImage decoded, Source source = {}, bool largest = false,
                double density = 1);

    void setMoreWanted(MoreWanted moreWanted) { m_moreWanted = std::move(moreWanted); }

    int widthPx() const override { return m_natural.width(); }
    int heightPx() const override { return m_natural.height(); }
    double pixelsPerLogicalPixel() const override { return m_density; }
    /// At its natural size a picture is drawn pixel for pixel; otherwise
    /// smoothly scaled to the widget's device pixels.
    const QImage& imageFor(QSize logical, qreal density, bool stretch) const override;

    /// The picture smoothly scaled to exactly this many device pixels, kept
    /// for the next paint; while more pixels are on their way, what it holds.
    const QImage& imageAt(QSize pixels) const;
    /// The picture at its natural size, one image pixel per device pixel;
    /// while the whole picture is on its way, what it holds.
    const QImage& fullImage() const;
    /// Decodes the picture shrunk to this many pixels, or covering them when
    /// it is smaller (empty: all of it), and offers it to the next paint.
    /// Any thread.
    void refine(QSize cover) const;

    bool outgrownByItsFile() const override;
    bool growthFailed() const override;

    /// What the picture holds now, in bytes, for cache budgets.
    qint64 heldBytes() const { return m_decoded.sizeInBytes() + m_scaled.sizeInBytes(); }
    const PictureFile::Stamp& stamp() const { return m_source.stamp; }

private:
    bool moreToHave() const;
    /// The decoded image, or when only a scaled one is kept, that one.
    const QImage& bestAtHand() const;
    void askFor(QSize cover) const;
    void takeOffered() const;

    const QSize m_natural;
    const Source m_source;
    const double m_density;
    MoreWanted m_moreWanted;
    mutable QImage m_decoded;
    mutable QImage m_scaled;
    /// The last cover asked for, so that each is asked for once.
    mutable std::optional<QSize> m_asked;
    mutable std::mutex m_offerMutex;
    mutable QImage m_offered;
    /// Nothing more is to be had: the file changed or went, or the memory
    /// budget holds the picture to what it has. Set by refine, under the
    /// mutex.
    mutable bool m_exhausted;
    /// Set by refine when its file changed, went or proved damaged, under the
    /// mutex.
    mutable bool m_growthFailed = false;
};

}  // namespace glimpa
