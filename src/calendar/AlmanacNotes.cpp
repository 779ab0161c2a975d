#include "calendar/AlmanacNotes.h"

#include "calendar/FamilyDays.h"
#include "calendar/HolidayRules.h"
#include "calendar/Koyomi.h"

#include <QFontMetrics>
#include <algorithm>
#include <bit>
#include <cmath>

namespace {

using TItem = TObjectExtras::TAlmanacItem;

// The colours stand in the order of the item bits.
TColor ColorOf(const TObjectExtras& e, TItem item) {
    const int index = std::min(std::countr_zero(uint32_t(item)), TObjectExtras::kAlmanacColors - 1);
    return e.AlmanacColors[size_t(index)];
}

} // namespace

std::array<TAlmanacNotes::TDayNotes, 32> TAlmanacNotes::OfMonth(int year, int month, const TObjectExtras& e) {
    std::array<TDayNotes, 32> out;
    const uint32_t items = e.AlmanacItems;
    if (!items || month < 1 || month > 12) return out;
    const TKoyomi& koyomi = TKoyomi::Shared();
    const auto family = TFamilyDays::Current();
    const bool wantsAlmanac =
        items & (TObjectExtras::aiRokuyou | TObjectExtras::aiSolarTerms | TObjectExtras::aiZassetsu |
                 TObjectExtras::aiMoonPhases | TObjectExtras::aiMoonAge | TObjectExtras::aiLunarDate);
    for (int d = 1, n = THolidayRules::DaysInMonth(year, month); d <= n; ++d) {
        TDayNotes& notes = out[size_t(d)];
        const auto add = [&](TItem item, const QString& text, bool elidable, bool beside = false) {
            if ((items & item) && !text.isEmpty()) notes.push_back({text, ColorOf(e, item), elidable, beside});
        };
        const TKoyomiDay k = wantsAlmanac ? koyomi.Day(year, month, d) : TKoyomiDay();
        if (k.Known) add(TObjectExtras::aiRokuyou, TKoyomi::RokuyouName(k.Rokuyou), false, true);
        if ((items & TObjectExtras::aiFamilyDays) && family)
            for (const QString& name : family->On(year, month, d, items & TObjectExtras::aiFamilyYears))
                add(TObjectExtras::aiFamilyDays, name, true);
        if (!k.Known) continue;
        add(TObjectExtras::aiSolarTerms, TKoyomi::SolarTermName(k.SolarTerm), false);
        for (const QString& name : TKoyomi::ZassetsuNames(k.Zassetsu))
            add(TObjectExtras::aiZassetsu, name, true);
        add(TObjectExtras::aiMoonPhases, TKoyomi::MoonPhaseName(k.MoonPhase), false);
        if (k.LunarMonth > 0)
            add(TObjectExtras::aiLunarDate,
                QStringLiteral("旧%1%2/%3")
                    .arg(k.LeapMonth ? QStringLiteral("閏") : QString())
                    .arg(k.LunarMonth)
                    .arg(k.LunarDay),
                false);
        add(TObjectExtras::aiMoonAge, QStringLiteral("月齢%1").arg(std::floor(k.MoonAge * 10) / 10, 0, 'f', 1), false);
    }
    return out;
}

std::vector<TAlmanacNotes::TPlaced> TAlmanacNotes::Place(const QRect& cell, const TNumberPlace& number,
                                                         const TDayNotes& notes, const QFontMetrics& fm,
                                                         QHash<QString, int>* known) {
    std::vector<TPlaced> placed;
    if (notes.empty() || cell.isEmpty()) return placed;
    const int lh = fm.height();
    const int pad = std::max(1, lh / 8);
    const QRect inner = cell.adjusted(pad, pad, -pad, -pad);
    // What a note must keep clear of: the number with a gap, then every note placed so far.
    const QRect keepOut = number.Box.adjusted(-pad, -pad, pad, pad);
    const auto clear = [&](const QRect& r) {
        if (!inner.contains(r) || r.intersects(keepOut)) return false;
        for (const TPlaced& p : placed)
            if (r.intersects(p.Rect)) return false;
        return true;
    };
    // Each note is measured once: measuring shapes the text, the costliest step of a note.
    std::vector<int> widths;
    widths.reserve(notes.size());
    for (const TNote& note : notes) {
        auto it = known ? known->constFind(note.Text) : QHash<QString, int>::const_iterator();
        if (known && it != known->cend()) {
            widths.push_back(*it);
            continue;
        }
        widths.push_back(fm.horizontalAdvance(note.Text));
        if (known) known->insert(note.Text, widths.back());
    }
    // The text that fits the room, and its width; empty when nothing sensible fits.
    const auto fitted = [&](size_t i, int room) -> std::pair<QString, int> {
        if (widths[i] <= room) return {notes[i].Text, widths[i]};
        if (!notes[i].Elidable) return {};
        const QString cut = fm.elidedText(notes[i].Text, Qt::ElideRight, room);
        if (cut.size() <= 1) return {};
        return {cut, fm.horizontalAdvance(cut)};
    };

    // A wide, low cell: one row after the number.
    if (cell.width() >= 3 * cell.height()) {
        const bool leftward = number.Side == 2;
        int edge = leftward ? keepOut.left() : keepOut.right() + 1;
        const int y = cell.top() + (cell.height() - lh) / 2;
        const int gap = fm.horizontalAdvance(QLatin1Char(' '));
        for (size_t i = 0; i < notes.size(); ++i) {
            const int room = leftward ? edge - inner.left() : inner.right() + 1 - edge;
            const auto [text, tw] = fitted(i, room);
            if (text.isEmpty()) continue;
            const QRect r(leftward ? edge - tw : edge, y, tw, lh);
            if (!clear(r)) continue;
            placed.push_back({text, notes[i].Color, r});
            edge = leftward ? r.left() - gap : r.right() + 1 + gap;
        }
        return placed;
    }

    const auto alignedX = [&](int tw) {
        if (number.Side == 0) return inner.left();
        if (number.Side == 2) return inner.right() + 1 - tw;
        return inner.left() + (inner.width() - tw) / 2;
    };
    // The stack grows from the edge away from the number.
    const bool downward = number.Long == 2;
    int y = downward ? inner.top() : inner.bottom() + 1 - lh;
    for (size_t i = 0; i < notes.size(); ++i) {
        const TNote& note = notes[i];
        if (note.Beside && number.Side != 1) {
            // The number's row, on the far side of the cell.
            const int tw = widths[i];
            const int x = number.Side == 0 ? inner.right() + 1 - tw : inner.left();
            const QRect r(x, number.Box.top() + (number.Box.height() - lh) / 2, tw, lh);
            if (clear(r)) {
                placed.push_back({note.Text, note.Color, r});
                continue;
            }
        }
        const auto [text, tw] = fitted(i, inner.width());
        if (text.isEmpty()) continue;
        const QRect r(alignedX(tw), y, tw, lh);
        if (!clear(r)) continue;
        placed.push_back({text, note.Color, r});
        y += downward ? lh : -lh;
    }
    return placed;
}
