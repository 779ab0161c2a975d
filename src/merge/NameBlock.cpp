#include "merge/NameBlock.h"

#include "objects/PriLabel.h"
#include "objects/TextCanvas.h"

#include <algorithm>

namespace {

constexpr char32_t kEm = U'\x3042'; // あ: the gaps are one full-width character

} // namespace

TNameBlock::TNameBlock(const TNameParts& parts)
    : fFamily(parts.Family.trimmed().toStdU32String()), fGiven(parts.Given.trimmed().toStdU32String()),
      fHonorific(parts.Honorific.trimmed().toStdU32String()) {
    if (fHonorific.empty()) fHonorific.push_back(U'\x69D8'); // 様
    for (const QString& joint : {parts.Joint1, parts.Joint2}) {
        const QString j = joint.trimmed();
        if (!j.isEmpty()) fJoints.push_back(j.toStdU32String());
    }
}

QStringList TNameBlock::Lines() const {
    QStringList lines{QString::fromStdU32String(fFamily + fGiven + fHonorific)};
    for (const std::u32string& joint : fJoints)
        lines << QString::fromStdU32String(joint + fHonorific);
    return lines;
}

TNameBlock::TMeasure TNameBlock::Measure(TTextCanvas& canvas) const {
    TMeasure m;
    m.Gap = canvas.CharWidth(kEm);
    m.Height = canvas.TextHeight();
    // Joint columns sit close, yet apart enough to read as columns of their own.
    m.Pitch = m.Height + m.Height / 4;
    int given = canvas.TextWidth(fGiven);
    for (const std::u32string& joint : fJoints)
        given = std::max(given, canvas.TextWidth(joint));
    m.GivenAt = fFamily.empty() ? 0 : canvas.TextWidth(fFamily) + m.Gap;
    m.HonorificAt = given > 0 ? m.GivenAt + given + m.Gap : m.GivenAt;
    m.Length = m.HonorificAt + canvas.TextWidth(fHonorific);
    return m;
}

QSize TNameBlock::Extent(TTextCanvas& canvas, bool vertical) const {
    const TMeasure m = Measure(canvas);
    const int across = m.Height + int(fJoints.size()) * m.Pitch;
    return vertical ? QSize(across, m.Length) : QSize(m.Length, across);
}

int TNameBlock::FitSize(TTextCanvas& canvas, bool vertical, QSize box, int maxSize) const {
    const auto fits = [&](int size) {
        canvas.SetPointSize(size);
        const QSize e = Extent(canvas, vertical);
        return e.width() <= box.width() && e.height() <= box.height();
    };
    const int best = TPriLabel::LargestFittingSize(maxSize, fits);
    canvas.SetPointSize(best);
    return best;
}

std::vector<TNameBlock::TPlaced> TNameBlock::Place(TTextCanvas& canvas, bool vertical, const TRect& box,
                                                   int align) const {
    const TMeasure m = Measure(canvas);
    const int span = vertical ? box.Height() : box.Width();
    const int start = vertical ? box.Top : box.Left;
    const int along = align == 0 ? start : align == 2 ? start + span - m.Length : start + (span - m.Length) / 2;
    const int joints = int(fJoints.size()) * m.Pitch;
    // The main line's leading edge across: its right edge in columns, its top in rows.
    int main;
    if (vertical) {
        main = (box.Left + box.Right + m.Height) / 2;
        main = std::min(box.Right, std::max(main, box.Left + m.Height + joints));
    } else {
        main = (box.Top + box.Bottom - m.Height) / 2;
        main = std::max(box.Top, std::min(main, box.Bottom - m.Height - joints));
    }
    std::vector<TPlaced> out;
    const auto run = [&](const std::u32string& text, int across, int at) {
        for (char32_t c : text) {
            out.push_back(vertical ? TPlaced{c, across, at} : TPlaced{c, at, across});
            at += canvas.CharWidth(c);
        }
    };
    run(fFamily, main, along);
    run(fGiven, main, along + m.GivenAt);
    run(fHonorific, main, along + m.HonorificAt);
    for (size_t i = 0; i < fJoints.size(); ++i) {
        const int offset = int(i + 1) * m.Pitch;
        const int across = vertical ? main - offset : main + offset;
        run(fJoints[i], across, along + m.GivenAt);
        run(fHonorific, across, along + m.HonorificAt);
    }
    return out;
}
