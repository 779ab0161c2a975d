#include "platform/SaneDevice.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

using namespace SaneApi;

namespace {

QString SizeMismatchText() {
    return QStringLiteral("スキャナから受け取った画像の大きさが合いません");
}

// Resolutions offered inside a range: the usual steps and both ends.
QList<int> ResolutionSteps(int low, int high) {
    QList<int> steps;
    for (int dpi : {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400})
        if (dpi >= low && dpi <= high) steps << dpi;
    // Below 25 dpi nothing is legible; such a floor is offered only when nothing else fits.
    if (!steps.contains(low) && (low >= 25 || steps.isEmpty())) steps.prepend(low);
    if (!steps.contains(high) && high <= 2400) steps << high;
    return steps;
}

} // namespace

TSaneDevice::TSaneDevice(std::shared_ptr<TSaneLibrary> library) : fLibrary(std::move(library)) {}

TSaneDevice::~TSaneDevice() {
    Close();
}

bool TSaneDevice::Open(const QString& name, QString* error) {
    Close();
    Handle handle = nullptr;
    const QByteArray utf8 = name.toUtf8();
    std::lock_guard<std::mutex> lock(fLibrary->CallMutex());
    const Status status = fLibrary->Api().open(utf8.constData(), &handle);
    if (status != StatusGood || !handle) {
        if (error)
            *error =
                status == StatusGood ? QStringLiteral("スキャナを開けませんでした") : TSaneLibrary::StatusText(status);
        return false;
    }
    fHandle = handle;
    fName = name;
    return true;
}

void TSaneDevice::Close() {
    if (!fHandle) return;
    fLibrary->Api().close(fHandle);
    fHandle = nullptr;
    fName.clear();
}

const OptionDescriptor* TSaneDevice::Descriptor(int index) const {
    if (!fHandle || index <= 0) return nullptr;
    return fLibrary->Api().get_option_descriptor(fHandle, index);
}

int TSaneDevice::FindOption(const char* name) const {
    if (!fHandle) return -1;
    Int count = 0;
    if (fLibrary->Api().control_option(fHandle, 0, ActionGetValue, &count, nullptr) != StatusGood) return -1;
    for (int i = 1; i < count; ++i) {
        const OptionDescriptor* d = Descriptor(i);
        if (d && d->name && std::strcmp(d->name, name) == 0) return (d->cap & CapInactive) ? -1 : i;
    }
    return -1;
}

bool TSaneDevice::ReadNumber(int index, double& value) const {
    const OptionDescriptor* d = Descriptor(index);
    if (!d || d->size != Int(sizeof(Word))) return false;
    if (d->type != TypeInt && d->type != TypeFixed && d->type != TypeBool) return false;
    Word word = 0;
    if (fLibrary->Api().control_option(fHandle, index, ActionGetValue, &word, nullptr) != StatusGood) return false;
    value = d->type == TypeFixed ? Unfix(word) : double(word);
    return true;
}

QString TSaneDevice::ReadString(int index) const {
    const OptionDescriptor* d = Descriptor(index);
    if (!d || d->type != TypeString || d->size <= 0 || d->size > 4096) return QString();
    std::vector<char> buffer(size_t(d->size) + 1, '\0');
    if (fLibrary->Api().control_option(fHandle, index, ActionGetValue, buffer.data(), nullptr) != StatusGood)
        return QString();
    return QString::fromUtf8(buffer.data());
}

bool TSaneDevice::SetOption(const QString& name, const QString& value) {
    const int index = FindOption(name.toUtf8().constData());
    const OptionDescriptor* d = Descriptor(index);
    if (!d || !(d->cap & CapSoftSelect)) return false;
    if (d->type != TypeString) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok && SetOption(name, number);
    }
    const QByteArray utf8 = value.toUtf8();
    if (d->size <= 0 || utf8.size() >= d->size) return false;
    std::vector<char> buffer(size_t(d->size), '\0');
    std::memcpy(buffer.data(), utf8.constData(), size_t(utf8.size()));
    return fLibrary->Api().control_option(fHandle, index, ActionSetValue, buffer.data(), nullptr) == StatusGood;
}

bool TSaneDevice::SetOption(const QString& name, double value) {
    const int index = FindOption(name.toUtf8().constData());
    const OptionDescriptor* d = Descriptor(index);
    if (!d || !(d->cap & CapSoftSelect) || d->size != Int(sizeof(Word))) return false;
    Word word = 0;
    switch (d->type) {
    case TypeInt: word = Word(std::lround(value)); break;
    case TypeFixed: word = Fix(value); break;
    case TypeBool: word = value != 0 ? 1 : 0; break;
    default: return false;
    }
    return fLibrary->Api().control_option(fHandle, index, ActionSetValue, &word, nullptr) == StatusGood;
}

bool TSaneDevice::SetMode(const QString& mode) {
    return SetOption(QStringLiteral("mode"), mode);
}

bool TSaneDevice::SetResolution(int dpi) {
    return SetOption(QStringLiteral("resolution"), double(dpi));
}

bool TSaneDevice::SetArea(const QRectF& mm) {
    if (mm.isEmpty()) return false;
    const TSaneCapabilities caps = Capabilities();
    if (caps.MaxArea.isEmpty()) return false;
    // The far corner first out of the way, so the near one is never refused for passing it.
    bool ok = SetOption(QStringLiteral("br-x"), caps.MaxArea.right()) &&
              SetOption(QStringLiteral("br-y"), caps.MaxArea.bottom());
    ok = SetOption(QStringLiteral("tl-x"), mm.left()) && SetOption(QStringLiteral("tl-y"), mm.top()) && ok;
    ok = SetOption(QStringLiteral("br-x"), mm.right()) && SetOption(QStringLiteral("br-y"), mm.bottom()) && ok;
    return ok;
}

TSaneCapabilities TSaneDevice::Capabilities() const {
    TSaneCapabilities caps;
    if (!fHandle) return caps;
    const int mode = FindOption("mode");
    if (const OptionDescriptor* d = Descriptor(mode)) {
        if (d->type == TypeString && d->constraint_type == ConstraintStringList && d->constraint.string_list)
            for (int i = 0; d->constraint.string_list[i]; ++i)
                caps.Modes << QString::fromUtf8(d->constraint.string_list[i]);
        caps.Mode = ReadString(mode);
    }
    const int resolution = FindOption("resolution");
    if (const OptionDescriptor* d = Descriptor(resolution)) {
        const bool fixed = d->type == TypeFixed;
        auto number = [fixed](Word w) { return fixed ? int(std::lround(Unfix(w))) : int(w); };
        if (d->constraint_type == ConstraintRange && d->constraint.range) {
            caps.Resolutions = ResolutionSteps(number(d->constraint.range->min), number(d->constraint.range->max));
        } else if (d->constraint_type == ConstraintWordList && d->constraint.word_list) {
            const Word count = d->constraint.word_list[0];
            for (Word i = 1; i <= count && i <= 256; ++i)
                caps.Resolutions << number(d->constraint.word_list[i]);
        }
        double value = 0;
        if (ReadNumber(resolution, value)) caps.Resolution = int(std::lround(value));
    }
    const int tlx = FindOption("tl-x"), tly = FindOption("tl-y"), brx = FindOption("br-x"), bry = FindOption("br-y");
    const OptionDescriptor* dx = Descriptor(brx);
    const OptionDescriptor* dy = Descriptor(bry);
    if (dx && dy && dx->unit == UnitMm && dy->unit == UnitMm && dx->constraint_type == ConstraintRange &&
        dy->constraint_type == ConstraintRange && dx->constraint.range && dy->constraint.range) {
        auto number = [](const OptionDescriptor* d, Word w) { return d->type == TypeFixed ? Unfix(w) : double(w); };
        const double minX = number(dx, dx->constraint.range->min), maxX = number(dx, dx->constraint.range->max);
        const double minY = number(dy, dy->constraint.range->min), maxY = number(dy, dy->constraint.range->max);
        caps.MaxArea = QRectF(minX, minY, maxX - minX, maxY - minY);
        double l = 0, t = 0, r = 0, b = 0;
        if (ReadNumber(tlx, l) && ReadNumber(tly, t) && ReadNumber(brx, r) && ReadNumber(bry, b))
            caps.Area = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
    }
    return caps;
}

TSaneDevice::TResult TSaneDevice::Scan(TSaneFrame& frame, const std::function<void(int)>& progress,
                                       const std::atomic_bool& cancel, QString* error) {
    frame = TSaneFrame();
    if (!fHandle) {
        if (error) *error = QStringLiteral("スキャナが開かれていません");
        return TResult::Failed;
    }
    const Functions& api = fLibrary->Api();
    auto fail = [&](const QString& text) {
        // Backends that read in a thread of their own cancel it asynchronously: cancelled while it
        // still allocates its buffer, it deadlocks as it exits. A failure right after the start
        // gives it a moment to reach its blocking write first.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        api.cancel(fHandle);
        if (error) *error = text;
        return TResult::Failed;
    };
    auto cancelled = [&] {
        api.cancel(fHandle);
        return TResult::Cancelled;
    };
    double dpi = 0;
    if (ReadNumber(FindOption("resolution"), dpi)) frame.Resolution = int(std::lround(dpi));

    // Single-pass scanners send one frame; three-pass ones a frame per colour.
    QByteArray planes[3];
    for (int pass = 0; pass < 3; ++pass) {
        if (cancel) return cancelled();
        Status status = api.start(fHandle);
        if (status == StatusCancelled) return cancelled();
        if (status != StatusGood) return fail(TSaneLibrary::StatusText(status));
        Parameters p{};
        status = api.get_parameters(fHandle, &p);
        if (status != StatusGood) return fail(TSaneLibrary::StatusText(status));

        const int channels = p.format == FrameRgb ? 3 : 1;
        const bool known = p.lines > 0;
        if ((p.depth != 1 && p.depth != 8 && p.depth != 16) || p.format < FrameGray || p.format > FrameBlue ||
            p.pixels_per_line <= 0 || (!known && p.lines != -1) ||
            qint64(p.bytes_per_line) < (qint64(p.pixels_per_line) * channels * p.depth + 7) / 8)
            return fail(SizeMismatchText());
        if (qint64(p.pixels_per_line) * std::max(p.lines, 1) > kMaxPixels)
            return fail(QStringLiteral("画像が大きすぎます。解像度か範囲を小さくしてください"));
        const qint64 expected = known ? qint64(p.bytes_per_line) * p.lines : -1;
        const qint64 limit = qint64(p.bytes_per_line) * (kMaxPixels / p.pixels_per_line);

        QByteArray data;
        if (known) data.reserve(expected);
        std::vector<unsigned char> buffer(64 * 1024);
        int lastPercent = -1;
        for (;;) {
            if (cancel) return cancelled();
            Int length = 0;
            status = api.read(fHandle, buffer.data(), Int(buffer.size()), &length);
            if (status == StatusEof) break;
            if (status == StatusCancelled) return cancelled();
            if (status != StatusGood) return fail(TSaneLibrary::StatusText(status));
            if (length < 0 || length > Int(buffer.size())) return fail(SizeMismatchText());
            const qint64 room = (known ? expected : limit) - data.size();
            if (length > room) {
                if (!known) return fail(QStringLiteral("画像が大きすぎます。解像度か範囲を小さくしてください"));
                length = Int(room); // a backend sending more than it announced: the rest is dropped
            }
            data.append(reinterpret_cast<const char*>(buffer.data()), length);
            if (progress && known) {
                const int percent = int(data.size() * 100 / std::max<qint64>(expected, 1));
                const int overall = p.format >= FrameRed ? (pass * 100 + percent) / 3 : percent;
                if (overall != lastPercent) progress(lastPercent = std::min(overall, 100));
            }
        }
        const int lines = known ? p.lines : int(data.size() / p.bytes_per_line);
        if (lines <= 0 || data.size() < qint64(p.bytes_per_line) * lines) return fail(SizeMismatchText());
        data.truncate(qint64(p.bytes_per_line) * lines);

        if (p.format == FrameGray || p.format == FrameRgb) {
            if (pass > 0) return fail(SizeMismatchText());
            frame.Color = p.format == FrameRgb;
            frame.Width = p.pixels_per_line;
            frame.Height = lines;
            frame.Depth = p.depth;
            frame.BytesPerLine = p.bytes_per_line;
            frame.Data = std::move(data);
            api.cancel(fHandle);
            return TResult::Done;
        }
        // One colour of three: all must agree in size.
        if (p.depth == 1) return fail(SizeMismatchText());
        if (pass > 0 && (p.pixels_per_line != frame.Width || lines != frame.Height || p.depth != frame.Depth))
            return fail(SizeMismatchText());
        frame.Width = p.pixels_per_line;
        frame.Height = lines;
        frame.Depth = p.depth;
        planes[p.format - FrameRed] = std::move(data);
        frame.BytesPerLine = p.bytes_per_line;
        if (p.last_frame) break;
    }
    for (const QByteArray& plane : planes)
        if (plane.isEmpty()) return fail(SizeMismatchText());
    // Interleave the three colours into one frame.
    const int sample = frame.Depth / 8;
    const int planeLine = frame.BytesPerLine;
    frame.Color = true;
    frame.BytesPerLine = frame.Width * 3 * sample;
    frame.Data = QByteArray(qint64(frame.BytesPerLine) * frame.Height, '\0');
    for (int y = 0; y < frame.Height; ++y) {
        char* out = frame.Data.data() + qint64(y) * frame.BytesPerLine;
        for (int c = 0; c < 3; ++c) {
            const char* in = planes[c].constData() + qint64(y) * planeLine;
            for (int x = 0; x < frame.Width; ++x)
                std::memcpy(out + (x * 3 + c) * sample, in + x * sample, size_t(sample));
        }
    }
    api.cancel(fHandle);
    return TResult::Done;
}
