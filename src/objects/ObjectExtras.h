#pragma once

#include "platform/Color.h"

#include <QByteArray>
#include <array>
#include <cstdint>

class TStreamReader;
class TStreamWriter;

// Options of an object that its stored record has no room for. They live with the object (copies,
// AssignObject, undo steps) and are written as tagged options in the extension area that follows
// the end marker of a template file or clipboard block, which a reader of the base format never
// reaches. Defaults write nothing, so a document without them keeps its bytes.
class TObjectExtras {
public:
    // Hyphens and minus signs between block numbers in vertical kanji numerals: kept, set as "－",
    // or written "の". With a rule, digits inside a word of Latin letters ("3LDK") stay Arabic.
    enum class THyphenRule : uint8_t { Keep = 0, Dash = 1, No = 2 };
    // A field holding a postal code: the seven boxes of a postcard, or seven digits at equal pitch.
    enum class TPostalLayout : uint8_t { None = 0, Boxes = 1, EvenPitch = 2 };
    // A field whose value is the sender's, from the program's settings, not from the records.
    enum class TSenderItem : uint8_t { None = 0, PostalCode = 1, Address1 = 2, Address2 = 3, Name = 4 };

    THyphenRule HyphenRule = THyphenRule::Keep;
    // The font shrinks until the text fits the box, never cut off.
    bool ShrinkToFit = false;
    TPostalLayout PostalLayout = TPostalLayout::None;
    // The boxes of a Boxes postal code print in red (plain card stock); otherwise only shown.
    bool PrintPostalBoxes = false;
    TSenderItem SenderItem = TSenderItem::None;
    // A name block: the field's value is the family name; these categories give the given name,
    // up to two joint given names and the honorific (empty means 様). -1 when not used.
    bool NameBlock = false;
    int32_t GivenCategory = -1;
    int32_t Joint1Category = -1;
    int32_t Joint2Category = -1;
    int32_t HonorificCategory = -1;

    // A barcode field with a kind of its own: the record value is only the data (for the customer
    // barcode the postal code, the address coming from the two address categories). -1 leaves the
    // kind to the value, "data kind check text", as stored files have it.
    int32_t BarcodeKind = -1;
    bool BarcodeCheck = false;
    bool BarcodeText = false;
    int32_t BarcodeAddress1Category = -1;
    int32_t BarcodeAddress2Category = -1;
    static constexpr int kLastBarcodeKind = 7;

    // Almanac notes a calendar writes small in its day cells, each in a colour of its own.
    enum TAlmanacItem : uint32_t {
        aiRokuyou = 1u << 0,     // 大安 …
        aiSolarTerms = 1u << 1,  // 小寒 …
        aiZassetsu = 1u << 2,    // 節分, 彼岸入り …
        aiMoonPhases = 1u << 3,  // 新月, 満月 …
        aiMoonAge = 1u << 4,     // 月齢
        aiLunarDate = 1u << 5,   // 旧暦 date
        aiFamilyDays = 1u << 6,  // the family's own days
        aiFamilyYears = 1u << 7, // a dated family day shows its count of years
    };
    // Items with a colour, in the order of the bits above.
    static constexpr int kAlmanacColors = 7;
    static constexpr int kMinAlmanacSize = 4;
    static constexpr int kMaxAlmanacSize = 72;
    uint32_t AlmanacItems = 0;
    // Points at 100 %, as the day numbers' size.
    int32_t AlmanacSize = 7;
    std::array<TColor, kAlmanacColors> AlmanacColors{0x505050, 0x2E7D32, 0x1F5C99, 0x303030,
                                                     0x707070, 0x707070, 0x7A1FC0};

    bool operator==(const TObjectExtras&) const = default;
    bool IsDefault() const { return *this == TObjectExtras(); }

    // The options that differ from their defaults, each as tag, length, bytes.
    void Write(TStreamWriter& out) const;
    // Reads options to the end of the bytes; unknown tags are skipped. False when an option is cut
    // short or holds an impossible value: the object then keeps its defaults.
    bool Read(const QByteArray& bytes);
};
