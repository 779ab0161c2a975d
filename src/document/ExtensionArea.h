#pragma once

#include <cstdint>
#include <vector>

class TPriBase;
class TStreamReader;
class TStreamWriter;

// The tagged area after the end marker of a template file or clipboard block, where options that
// the base records have no room for are kept. A reader of the base format stops at the end marker
// and never sees it. Layout, little-endian:
//   int32 magic "KEXT", int32 version, int32 byte length of the entries, then entries of
//   int32 tag, int32 byte length, body.
// An object entry (tag 1) names its object by list (0 the first side or the block, 1 the second
// side) and position among the objects written there, followed by the object's options.
// Unknown tags are skipped, so a later program's entries leave this one's intact.
class TExtensionArea {
public:
    static constexpr int32_t kMagic = 0x5458454B; // "KEXT"
    static constexpr int32_t kVersion = 1;
    static constexpr int32_t kObjectTag = 1;

    using TLists = std::vector<std::vector<TPriBase*>>;

    // Writes the area for the objects of the lists that have options; nothing when none has, so
    // such a file keeps the bytes of the base format.
    static void Write(TStreamWriter& out, const TLists& lists);

    enum class TResult { None, Ok, Damaged };
    // Reads what follows the end marker: None when nothing does. The objects an entry names get
    // its options; a broken entry is skipped (Damaged), the others still apply.
    static TResult Read(TStreamReader& in, const TLists& lists);
};
