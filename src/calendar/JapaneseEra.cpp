#include "calendar/JapaneseEra.h"

// Placeholder until the era table lands.
QString TJapaneseEra::YearText(int, int, int) {
    return {};
}
QString TJapaneseEra::EraName(int, int, int) {
    return {};
}
int TJapaneseEra::EraYear(int, int, int) {
    return 0;
}
QString TJapaneseEra::Kanshi(int) {
    return {};
}
QString TJapaneseEra::ZodiacAnimal(int) {
    return {};
}
