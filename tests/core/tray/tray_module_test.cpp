// The icon record's filling rules and the decoding of the icon's mouse callbacks.
#include "core/fakes/fakes.h"

#include <cmath>
#include <limits>
#include <sstream>
#include <tuple>

using namespace lumora;
using namespace lumora::fakes;

namespace {

struct Call {
    bool add;
    std::uint32_t hWnd, hIcon;
    const char* tip;
    const char* title;
    const char* text;
    std::int32_t flags, timeout;
};

// The record's variable fields on one line: window and icon (hex), flags, tip, info, title,
// balloon icon kind, time-out.
std::string describe(const TrayIconData& d) {
    std::ostringstream out;
    out << std::hex << d.hWnd << ' ' << std::dec << d.uFlags << ' ' << std::hex << d.hIcon
        << std::dec << " '" << fieldText(d.szTip) << "' '" << fieldText(d.szInfo) << "' '"
        << fieldText(d.szInfoTitle) << "' " << d.dwInfoFlags << ' ' << d.uTimeout;
    return out.str();
}

struct RecordRow {
    const char* name;
    std::vector<Call> calls;
    const char* last;
};

class RecordFilling : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordFilling, KeepsWhatACallDoesNotSet) {
    const RecordRow& row = GetParam();
    CallLog log;
    FakeTrayHost host(log);
    TrayModule tray(host);
    for (const Call& c : row.calls) {
        (tray.*(c.add ? &TrayModule::AddTrayIcon : &TrayModule::ModifyTrayIcon))(
            c.hWnd, c.hIcon, c.tip, c.title, c.text, c.flags, c.timeout);
    }
    ASSERT_EQ(host.records.size(), row.calls.size());
    const TrayIconData& d = host.records.back();
    // The fixed fields: the record's size, the icon's id, the callback message, no state.
    EXPECT_EQ(std::tuple(d.cbSize, d.uID, d.uCallbackMessage, d.dwState + d.dwStateMask),
              std::tuple(488u, 1u, 0x200u, 0u));
    EXPECT_EQ(describe(d), row.last);
    EXPECT_TRUE(
        log.front().starts_with(row.calls.front().add ? "tray.NIM_ADD" : "tray.NIM_MODIFY"));
}

const Call kStart{true, 0xA, 0xB, "Lumora", "", "", 0, 3000};
const Call kAlert{false, 0xA, 0xB, "Tip", "Lumora", "Hi", 1, 2000};

// clang-format off
const RecordRow kRecordRows[] = {
    // The start-up add sends no balloon, so its time-out is not stored.
    {"StartupAdd", {kStart}, "a 7 b 'Lumora' '' '' 0 0"},
    // An alert keeps the tip (no tip bit, and the caption is stored but not shown).
    {"Alert", {kStart, kAlert}, "a 19 b 'Tip' 'Hi' 'Lumora' 1 2000"},
    // A modify without a title keeps flags 19 and the previous balloon.
    {"ModifyWithoutTitle", {kStart, kAlert, {false, 0, 0xB, "", "", "", 0, 0}}, "a 19 b 'Tip' 'Hi' 'Lumora' 1 2000"},
    // A modify without a title after the add keeps flags 7.
    {"ModifyAfterAdd", {kStart, {false, 0, 0xB, "", "", "Text", 0, 1500}}, "a 7 b 'Lumora' 'Text' '' 0 1500"},
    // Zero window keeps the stored one; modify stores a zero icon, add does not.
    {"ZeroHandles", {kStart, {false, 0, 0, "", "T", "x", 1, 2000}}, "a 19 0 'Lumora' 'x' 'T' 1 2000"},
    {"AddKeepsIcon", {kStart, {true, 0x77, 0, "", "", "", 0, 0}}, "77 7 b 'Lumora' '' '' 0 0"},
    // A time-out of 0 or less keeps the stored one.
    {"TimeoutZero", {kAlert, {false, 0, 1, "", "T", "y", 1, 0}}, "a 19 1 'Tip' 'y' 'T' 1 2000"},
    {"TimeoutNegative", {kAlert, {false, 0, 1, "", "T", "y", 1, -5}}, "a 19 1 'Tip' 'y' 'T' 1 2000"},
    // Icon kind alone opens the balloon fields; a zero kind keeps the stored kind.
    {"KindAlone", {kAlert, {false, 0, 1, "", "", "", 2, 900}}, "a 19 1 'Tip' 'Hi' 'Lumora' 2 900"},
    {"NothingOfTheBalloon", {kAlert, {false, 0, 1, "", "", "", 0, 900}}, "a 19 1 'Tip' 'Hi' 'Lumora' 1 2000"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, RecordFilling, ::testing::ValuesIn(kRecordRows), byName);

// Text fields: text, NUL, spaces; cut at the width with no NUL, never inside a character.
struct FieldRow {
    std::string text;
    std::size_t width;
    std::string bytes; // the whole field
};

class FieldText : public ::testing::TestWithParam<FieldRow> {};

TEST_P(FieldText, IsStoredAndReadBack) {
    const FieldRow& row = GetParam();
    std::string field(row.width, 'z');
    storeFieldText(field.data(), row.width, row.text);
    EXPECT_EQ(field, row.bytes);
    EXPECT_EQ(fieldText(field.data(), row.width), row.bytes.substr(0, row.bytes.find('\0')));
}

using namespace std::string_literals;

// "é" is two bytes: it fits whole or not at all.
const FieldRow kFieldTextRows[] = {{"ab", 6, "ab\0   "s},
                                   {"", 3, "\0  "s},
                                   {"abcde", 6, "abcde\0"s},
                                   {"abcdef", 6, "abcdef"},
                                   {"abcdefgh", 6, "abcdef"},
                                   {"abcd\xC3\xA9", 6, "abcd\xC3\xA9"},
                                   {"abcde\xC3\xA9", 6, "abcde "},
                                   {"abcd\xE2\x82\xAC", 6, "abcd  "},
                                   {"ab\xF0\x9F\x98\x80z", 5, "ab   "},
                                   {"abc\xC3\xA9", 6, "abc\xC3\xA9\0"s}};

INSTANTIATE_TEST_SUITE_P(Rows, FieldText, ::testing::ValuesIn(kFieldTextRows));

// Mouse callbacks: X is the message number in pixels, or times the twips per pixel.
struct MouseRow {
    float x;
    int scaleMode;
    float twips;
    int action;
};

class MouseCodes : public ::testing::TestWithParam<MouseRow> {};

TEST_P(MouseCodes, Decode) {
    const MouseRow& row = GetParam();
    EXPECT_EQ(TrayMouseAction(row.x, MouseOwner{row.scaleMode, row.twips}), row.action);
}

const int P = kScalePixels, T = kScaleTwips;
const int Open = kTrayOpenSettings, Menu = kTrayPopupMenu, Nothing = kTrayNothing;

// Half-way values round to even.
const MouseRow kMouseRows[] = {
    {515, P, 15, Open},      {516, P, 15, Menu},
    {514, P, 15, Nothing},   {517, P, 15, Nothing},
    {515.5f, P, 15, Menu},   {514.5f, P, 15, Nothing},
    {515.4f, P, 15, Open},   {7725, T, 15, Open},
    {7740, T, 15, Menu},     {7710, T, 15, Nothing},
    {7732.5f, T, 15, Menu},  {6180, T, 12, Open},
    {1e20f, P, 15, Nothing}, {std::numeric_limits<float>::quiet_NaN(), P, 15, Nothing}};

INSTANTIATE_TEST_SUITE_P(Rows, MouseCodes, ::testing::ValuesIn(kMouseRows));

} // namespace
