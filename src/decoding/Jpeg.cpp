#include "decoding/Jpeg.h"
#include "decoding/JpegMarkers.h"

#include <QColorSpace>
#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "decoding/RowShrinker.h"
#include "decoding/SpentCoefficients.h"
#include "decoding/UprightRows.h"

namespace glimpa {

namespace {

/// libjpeg's failures, and its warnings too (damaged data), each of which ends
/// the work with its message by a long jump.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX]{};
};

[[noreturn]] void failWithMessage(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

/// Warnings about what lies around a picture's data rather than in it (junk
/// between its segments, an unknown version or colour transform code, a bad
/// ICC marker, read by this program on its own, the end of the file where
/// its end marker should be): the picture decodes whole, as other viewers
/// show it. Data that is missing or damaged warns of that itself (a marker
/// or the file's end hit while data was still needed, a bad code).
bool harmless(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_BOGUS_ICC || code == JWRN_JPEG_EOF;
}

void failOnWarning(j_common_ptr info, int level) {
    if (level < 0 && !harmless(info->err->msg_code)) {
        failWithMessage(info);
    }
}

/// A JPEG's header held, and the rest of it read on, a buffer at a time, as
/// the decoder asks for more.
struct ReadOnSource {
    static constexpr std::size_t kBuffer = 64 * 1024;

    jpeg_source_mgr manager{};
    const ReadOn* readOn = nullptr;
    std::vector<JOCTET> buffer;
};

boolean fillFromFile(j_decompress_ptr info) {
    auto* source = reinterpret_cast<ReadOnSource*>(info->src);
    // A full buffer each time, however the file gives its bytes: libjpeg
    // tells damaged data apart a little differently near a buffer's end, and
    // a file must decode the same way each time.
    auto* into = reinterpret_cast<char*>(source->buffer.data());
    const auto room = static_cast<qsizetype>(source->buffer.size());
    qsizetype got = 0;
    for (qsizetype more = 1; got < room && more > 0; got += more) {
        more = std::max<qsizetype>((*source->readOn)(into + got, room - got), 0);
    }
    if (got <= 0) {
        // As libjpeg's own readers do at a file's early end: a warning
        // (a failure here), and an end marker.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->manager.next_input_byte = source->buffer.data();
    source->manager.bytes_in_buffer = static_cast<std::size_t>(got);
    return TRUE;
}

void skipInFile(j_decompress_ptr info, long count) {
    jpeg_source_mgr& manager = *info->src;
    while (count > static_cast<long>(manager.bytes_in_buffer)) {
        count -= static_cast<long>(manager.bytes_in_buffer);
        fillFromFile(info);
    }
    if (count > 0) {
        manager.next_input_byte += count;
        manager.bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

void noSourceStep(j_decompress_ptr /*info*/) {}

/// Runs `steps` on a decompressor reading `bytes` (and, with `readOn`, the
/// rest of the file after them) and answers their error, or libjpeg's when
/// it failed or warned (empty: all went well). libjpeg leaves `steps` by a
/// long jump: it must not hold anything that needs destroying while it calls
/// libjpeg.
template <typename Steps>
std::string withDecompressor(const QByteArray& bytes, const ReadOn& readOn, Steps steps) {
    // Made before the jump is set: nothing is allocated after it.
    ReadOnSource source;
    if (readOn) {
        source.buffer.resize(ReadOnSource::kBuffer);
    }
    jpeg_decompress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failWithMessage;
    errors.manager.emit_message = failOnWarning;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return errors.message[0] != '\0' ? errors.message : "damaged JPEG data";
    }
    jpeg_create_decompress(&info);
    if (readOn) {
        source.readOn = &readOn;
        source.manager.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.constData());
        source.manager.bytes_in_buffer = static_cast<std::size_t>(bytes.size());
        source.manager.init_source = noSourceStep;
        source.manager.fill_input_buffer = fillFromFile;
        source.manager.skip_input_data = skipInFile;
        source.manager.resync_to_restart = jpeg_resync_to_restart;
        source.manager.term_source = noSourceStep;
        info.src = &source.manager;
    } else {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
    }
    std::string error = steps(info);
    jpeg_destroy_decompress(&info);
    return error;
}

/// The size of a decode at 1/denominator, as libjpeg rounds it.
int scaledSide(int side, int denominator) {
    return (side + denominator - 1) / denominator;
}

/// How a JPEG is decoded: at 1/denominator of its stored size, its rows
/// shrunk as they pass to `target` (as stored, not yet turned) when that is
/// smaller.
struct JpegPlan {
    int denominator = 1;
    QSize target;
    bool limited = false;  ///< held smaller by the budget
};

QSize scaledBy(QSize stored, int denominator) {
    return {scaledSide(stored.width(), denominator), scaledSide(stored.height(), denominator)};
}

/// The smallest power-of-two reduction of a stored size that still covers
/// `needed`, or 1.
int coveringDenominator(QSize stored, QSize needed) {
    for (int candidate : {8, 4, 2}) {
        const QSize scaled = scaledBy(stored, candidate);
        if (scaled.width() >= needed.width() && scaled.height() >= needed.height()) {
            return candidate;
        }
    }
    return 1;
}

/// The plan for a picture of `stored` pixels wanted at `needed` pixels (as
/// stored; empty: its natural size); nothing when not even one pixel fits
/// the budget.
std::optional<JpegPlan> planDecode(QSize stored, QSize needed, DecodeFit fit,
                                   const DecodeLimits& limits) {
    JpegPlan plan;
    if (!needed.isEmpty()) {
        plan.denominator = coveringDenominator(stored, needed);
    }
    plan.target = scaledBy(stored, plan.denominator);
    // Shrunk further while it decodes, when exactly a smaller size is wanted.
    if (fit == DecodeFit::Exactly && !needed.isEmpty() && needed.width() <= plan.target.width() &&
        needed.height() <= plan.target.height()) {
        plan.target = needed;
    }
    if (decodedBytes(plan.target) <= limits.maxDecodedBytes) {
        return plan;
    }
    // A photo larger than the budget is shown at the largest size of its
    // shape that the budget holds, shrunk from the smallest reduction that
    // covers that size: the rows pass, only the result is held. Unless that
    // reduction is too large to decode at once: then from a smaller one.
    plan.target = withinBudget(plan.target, limits.maxDecodedBytes);
    plan.limited = true;
    if (decodedBytes(plan.target) > limits.maxDecodedBytes) {
        return std::nullopt;
    }
    plan.denominator = std::max(plan.denominator, coveringDenominator(stored, plan.target));
    const auto pixelsOf = [](QSize size) { return std::int64_t{size.width()} * size.height(); };
    while (plan.denominator < 8 &&
           pixelsOf(scaledBy(stored, plan.denominator)) > limits.maxReducingPixels) {
        plan.denominator *= 2;
        plan.target = plan.target.boundedTo(scaledBy(stored, plan.denominator));
    }
    return plan;
}

/// Turns a row of CMYK pixels into RGB, in place. Photoshop (its Adobe
/// marker) stores CMYK inverted: 255 is no ink.
void cmykToRgb(QRgb* row, int width, bool inverted) {
    auto* pixel = reinterpret_cast<unsigned char*>(row);
    for (int x = 0; x < width; ++x, pixel += 4) {
        int c = pixel[0];
        int m = pixel[1];
        int ye = pixel[2];
        int k = pixel[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            ye = 255 - ye;
            k = 255 - k;
        }
        // What is left of each light after the ink, as 0 … 255.
        row[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
    }
}

/// The memory of every coefficient of the picture, as libjpeg holds them.
std::int64_t coefficientBytes(const jpeg_decompress_struct& info) {
    const auto roundUp = [](std::int64_t count, std::int64_t multiple) {
        return (count + multiple - 1) / multiple * multiple;
    };
    std::int64_t bytes = 0;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& component = info.comp_info[i];
        bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                 roundUp(component.height_in_blocks, component.v_samp_factor) *
                 static_cast<std::int64_t>(sizeof(JBLOCK));
    }
    return bytes;
}

/// Reads a progressive JPEG's scans until every component has the average
/// colours of its blocks, all that its smallest scale shows.
void consumeUntilEveryBlockHasItsColour(jpeg_decompress_struct& info) {
    const auto everyColour = [&] {
        for (int component = 0; component < info.num_components; ++component) {
            if (info.coef_bits[component][0] < 0) {
                return false;
            }
        }
        return true;
    };
    for (;;) {
        const int status = jpeg_consume_input(&info);
        if (status == JPEG_REACHED_EOI || status == JPEG_SUSPENDED ||
            (status == JPEG_SCAN_COMPLETED && everyColour())) {
            return;
        }
    }
}

/// The picture in sRGB, as colour-managed viewers show it, when the file
/// names another colour space.
void convertToSrgb(QImage& image, const QByteArray& bytes) {
    const QByteArray profile = jpegIccProfile(bytes);
    if (profile.isEmpty()) {
        return;
    }
    const QColorSpace space = QColorSpace::fromIccProfile(profile);
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        transformOpaque(image, space.transformationToColorSpace(QColorSpace::SRgb));
    }
}

}  // namespace

QSize jpegStoredSize(const QByteArray& bytes, std::string& error) {
    QSize stored;
    error = withDecompressor(bytes, {}, [&](jpeg_decompress_struct& info) {
        jpeg_read_header(&info, TRUE);
        stored = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
        return std::string();
    });
    if (error.empty() && stored.isEmpty()) {
        error = "JPEG without pixels";
    }
    return error.empty() ? stored : QSize();
}

DecodedImage decodeJpeg(const QByteArray& bytes, QSize size, DecodeFit fit,
                        const DecodeLimits& limits, const ReadOn& readOn) {
    DecodedImage result;
    const QSize stored = jpegStoredSize(bytes, result.error);
    if (stored.isEmpty()) {
        return result;
    }
    const int orientation = jpegOrientation(bytes);
    result.natural = turnsSideways(orientation) ? stored.transposed() : stored;
    if (stored.width() > limits.maxSide || stored.height() > limits.maxSide) {
        result.error = "the picture is larger than any picture this program shows";
        return result;
    }
    const JpegFrame frame = jpegFrame(bytes);
    if (frame.progressive && readOn) {
        result.error = "a progressive JPEG is read whole before it decodes";
        return result;
    }
    if (frame.progressive && jpegScanCount(bytes) > limits.maxProgressiveScans) {
        result.error = "too many scans";
        return result;
    }

    const std::optional<JpegPlan> plan =
        planDecode(stored, turnsSideways(orientation) ? size.transposed() : size, fit, limits);
    if (!plan) {
        result.error = "the picture needs more memory than allowed";
        return result;
    }
    const int denominator = plan->denominator;
    const QSize target = plan->target;
    const QSize decoded = scaledBy(stored, denominator);
    const bool shrink = target != decoded;
    // Rows go straight to where they belong in the upright picture.
    QImage image(turnsSideways(orientation) ? target.transposed() : target, kOpaqueFormat);
    if (image.isNull()) {
        result.error = "out of memory";
        return result;
    }
    UprightRows upright(image, target, orientation);
    const auto put = [&](int y, const QRgb* row) { upright.put(y, row); };
    std::optional<RowShrinker> shrinker;
    if (shrink) {
        shrinker.emplace(decoded.width(), decoded.height(), target, put);
    }
    std::vector<QRgb> row(static_cast<std::size_t>(decoded.width()));
    bool cmyk = false;
    // At its smallest scale a block is one pixel of its average colour, which
    // the first scans of a progressive picture give. Only a file that ends
    // as a JPEG does is taken so, as a file cut short is refused when whole.
    const bool firstScans = frame.progressive && fit == DecodeFit::Coarsely && denominator == 8 &&
                            bytes.endsWith("\xFF\xD9");
    SpentCoefficients spent;
    result.error = withDecompressor(bytes, readOn, [&](jpeg_decompress_struct& info) {
        jpeg_read_header(&info, TRUE);
        // A picture of several scans keeps every coefficient of the whole
        // picture while it decodes, whatever the scale of the result.
        if (jpeg_has_multiple_scans(&info) && coefficientBytes(info) > limits.maxCoefficientBytes) {
            return std::string("the picture needs more memory than allowed");
        }
        info.scale_num = 1;
        info.scale_denom = static_cast<unsigned>(denominator);
        // CMYK (or YCCK) is decoded as such and turned into RGB row by row.
        cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        // Decoded straight into the picture when it needs neither shrinking
        // nor turning nor a change of colours.
        const bool direct = !shrink && orientation == 1 && !cmyk;
        info.out_color_space = cmyk ? JCS_CMYK : direct ? JCS_EXT_RGB : JCS_EXT_BGRX;
        if (firstScans) {
            info.buffered_image = TRUE;
            info.do_block_smoothing = FALSE;  // it guesses the detail that is not shown
        } else {
            spent.watch(info);
        }
        jpeg_start_decompress(&info);
        if (!firstScans) {
            spent.everyScanIsRead();
        }
        if (QSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height)) !=
            decoded) {
            return std::string("the picture does not match its header");
        }
        if (firstScans) {
            consumeUntilEveryBlockHasItsColour(info);
            jpeg_start_output(&info, info.input_scan_number);
        }
        while (info.output_scanline < info.output_height) {
            const int y = static_cast<int>(info.output_scanline);
            JSAMPROW samples = direct ? image.scanLine(y) : reinterpret_cast<JSAMPROW>(row.data());
            jpeg_read_scanlines(&info, &samples, 1);
            if (cmyk) {
                cmykToRgb(row.data(), decoded.width(), info.saw_Adobe_marker != 0);
            }
            if (shrinker) {
                shrinker->add(row.data());
            } else if (!direct) {
                put(y, row.data());
            }
        }
        if (firstScans) {
            jpeg_finish_output(&info);
            jpeg_abort_decompress(&info);  // the scans left are not wanted
        } else {
            jpeg_finish_decompress(&info);
        }
        return std::string();
    });
    if (!result.error.empty()) {
        return result;
    }
    if (!cmyk) {
        convertToSrgb(image, bytes);
    }
    result.image = std::move(image);
    result.largest = plan->limited;
    return result;
}

}  // namespace glimpa
