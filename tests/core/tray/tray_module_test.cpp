// The icon record's filling rules and the decoding of the icon's mouse callbacks.
#include "core/tray/tray_module.h"
#include "tray_fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

using namespace lumora;
using namespace lumora::trayfakes;

namespace {

struct Call {
    bool add;
    std::uint32_t hWnd;
    std::uint32_t hIcon;
    std::string tip, title, text;
    std::int32_t flags, timeout;
};

struct Expect {
    std::uint32_t hWnd, flags, hIcon;
    std::string tip, info, title;
    std::uint32_t infoFlags, timeout;
};

struct RecordRow {
    const char* name;
    std::vector<Call> calls;
    Expect last;
};

class RecordFilling : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordFilling, KeepsWhatACallDoesNotSet) {
    const RecordRow& row = GetParam();
    CallLog log;
    FakeTrayHost host(log);
    TrayModule tray(host);
    for (const Call& c : row.calls) {
        if (c.add) {
            tray.AddTrayIcon(c.hWnd, c.hIcon, c.tip, c.title, c.text, c.flags, c.timeout);
        } else {
            tray.ModifyTrayIcon(c.hWnd, c.hIcon, c.tip, c.title, c.text, c.flags, c.timeout);
        }
    }
    ASSERT_EQ(host.records.size(), row.calls.size());
    const TrayIconData& d = host.records.back();
    EXPECT_EQ(d.cbSize, 488u);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uCallbackMessage, 0x200u);
    EXPECT_EQ(d.dwState, 0u);
    EXPECT_EQ(d.dwStateMask, 0u);
    EXPECT_EQ(d.hWnd, row.last.hWnd);
    EXPECT_EQ(d.uFlags, row.last.flags);
    EXPECT_EQ(d.hIcon, row.last.hIcon);
    EXPECT_EQ(fieldText(d.szTip), row.last.tip);
    EXPECT_EQ(fieldText(d.szInfo), row.last.info);
    EXPECT_EQ(fieldText(d.szInfoTitle), row.last.title);
    EXPECT_EQ(d.dwInfoFlags, row.last.infoFlags);
    EXPECT_EQ(d.uTimeout, row.last.timeout);
    EXPECT_EQ(host.messages.front(), row.calls.front().add ? NIM_ADD : NIM_MODIFY);
}

const Call kStart{true, 0x1001, 0x2001, "Lumora", "", "", 0, 3000};
const Call kAlert{false,    0x1001,  0x2001, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07",
                  "Lumora", "Hello", 1,      2000};

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordFilling,
    ::testing::Values(
        // The start-up add sends no balloon, so its time-out is not stored.
        RecordRow{"StartupAdd", {kStart}, {0x1001, 7, 0x2001, "Lumora", "", "", 0, 0}},
        // An alert keeps the tip (no tip bit, and the caption is stored but not shown).
        RecordRow{"Alert",
                  {kStart, kAlert},
                  {0x1001, 19, 0x2001, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "Hello",
                   "Lumora", 1, 2000}},
        // A modify without a title keeps flags 19 and the previous balloon.
        RecordRow{"ModifyWithoutTitle",
                  {kStart, kAlert, Call{false, 0, 0x2001, "", "", "", 0, 0}},
                  {0x1001, 19, 0x2001, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "Hello",
                   "Lumora", 1, 2000}},
        // A modify without a title after the add keeps flags 7.
        RecordRow{"ModifyAfterAdd",
                  {kStart, Call{false, 0, 0x2001, "", "", "Text", 0, 1500}},
                  {0x1001, 7, 0x2001, "Lumora", "Text", "", 0, 1500}},
        // Zero window keeps the stored one; modify stores a zero icon, add does not.
        RecordRow{"ZeroHandles",
                  {kStart, Call{false, 0, 0, "", "T", "x", 1, 2000}},
                  {0x1001, 19, 0, "Lumora", "x", "T", 1, 2000}},
        RecordRow{"AddKeepsIcon",
                  {kStart, Call{true, 0x77, 0, "", "", "", 0, 0}},
                  {0x77, 7, 0x2001, "Lumora", "", "", 0, 0}},
        // A time-out of 0 or less keeps the stored one.
        RecordRow{
            "TimeoutZero",
            {kAlert, Call{false, 0, 1, "", "T", "y", 1, 0}},
            {0x1001, 19, 1, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "y", "T", 1, 2000}},
        RecordRow{
            "TimeoutNegative",
            {kAlert, Call{false, 0, 1, "", "T", "y", 1, -5}},
            {0x1001, 19, 1, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "y", "T", 1, 2000}},
        // Icon kind alone opens the balloon fields; a zero kind keeps the stored kind.
        RecordRow{"KindAlone",
                  {kAlert, Call{false, 0, 1, "", "", "", 2, 900}},
                  {0x1001, 19, 1, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "Hello",
                   "Lumora", 2, 900}},
        RecordRow{"NothingOfTheBalloon",
                  {kAlert, Call{false, 0, 1, "", "", "", 0, 900}},
                  {0x1001, 19, 1, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07", "Hello",
                   "Lumora", 1, 2000}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RecordFilling, DeleteHandsOverTheRecordAsItStands) {
    CallLog log;
    FakeTrayHost host(log);
    TrayModule tray(host);
    tray.AddTrayIcon(0x1001, 0x2001, "Lumora", "", "", 0, 3000);
    tray.DeleteTrayIcon();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1], NIM_DELETE);
    EXPECT_EQ(host.records[1].hWnd, 0x1001u);
    EXPECT_EQ(host.records[1].uID, 1u);
}

// Text fields: text, NUL, spaces; cut at the width with no NUL, never inside a character.
struct FieldRow {
    const char* name;
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
    std::string expectedRead = row.bytes.substr(0, row.bytes.find('\0'));
    EXPECT_EQ(fieldText(field.data(), row.width), expectedRead);
}

std::string s(const char* p, std::size_t n) {
    return std::string(p, n);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldText,
    ::testing::Values(FieldRow{"Short", "ab", 6, s("ab\0   ", 6)},
                      FieldRow{"Empty", "", 3, s("\0  ", 3)},
                      FieldRow{"OneLess", "abcde", 6, s("abcde\0", 6)},
                      FieldRow{"Full", "abcdef", 6, "abcdef"},
                      FieldRow{"Longer", "abcdefgh", 6, "abcdef"},
                      // "é" is two bytes: it fits whole or not at all.
                      FieldRow{"TwoByteFits", "abcd\xC3\xA9", 6, "abcd\xC3\xA9"},
                      FieldRow{"TwoByteCut", "abcde\xC3\xA9", 6, "abcde "},
                      FieldRow{"ThreeByteCut", "abcd\xE2\x82\xAC", 6, "abcd  "},
                      FieldRow{"FourByteCut", "ab\xF0\x9F\x98\x80z", 5, "ab   "},
                      FieldRow{"TwoByteAndNul", "abc\xC3\xA9", 6, s("abc\xC3\xA9\0", 6)}),
    [](const auto& row) { return std::string(row.param.name); });

// The widths of the record's fields: 128, 256, 64.
struct WidthRow {
    const char* name;
    std::size_t length;
    std::function<std::string(const TrayIconData&)> read;
    std::function<void(TrayModule&, const std::string&)> store;
    std::size_t width;
};

class FieldWidths : public ::testing::TestWithParam<WidthRow> {};

TEST_P(FieldWidths, CutWithoutTerminatorWhenFull) {
    const WidthRow& row = GetParam();
    CallLog log;
    FakeTrayHost host(log);
    TrayModule tray(host);
    std::string text(row.length, 'q');
    row.store(tray, text);
    std::string stored = row.read(tray.data());
    EXPECT_EQ(stored.size(), std::min(row.length, row.width));
    EXPECT_EQ(stored, text.substr(0, row.width));
}

std::string tipOf(const TrayIconData& d) {
    return fieldText(d.szTip);
}
std::string infoOf(const TrayIconData& d) {
    return fieldText(d.szInfo);
}
std::string titleOf(const TrayIconData& d) {
    return fieldText(d.szInfoTitle);
}
void tipCall(TrayModule& t, const std::string& x) {
    t.AddTrayIcon(1, 1, x, "", "", 0, 0);
}
void infoCall(TrayModule& t, const std::string& x) {
    t.ModifyTrayIcon(1, 1, "", "T", x, 1, 1);
}
void titleCall(TrayModule& t, const std::string& x) {
    t.ModifyTrayIcon(1, 1, "", x, "a", 1, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, FieldWidths,
                         ::testing::Values(WidthRow{"Tip127", 127, tipOf, tipCall, 128},
                                           WidthRow{"Tip128", 128, tipOf, tipCall, 128},
                                           WidthRow{"Tip300", 300, tipOf, tipCall, 128},
                                           WidthRow{"Info255", 255, infoOf, infoCall, 256},
                                           WidthRow{"Info256", 256, infoOf, infoCall, 256},
                                           WidthRow{"Info999", 999, infoOf, infoCall, 256},
                                           WidthRow{"Title63", 63, titleOf, titleCall, 64},
                                           WidthRow{"Title64", 64, titleOf, titleCall, 64},
                                           WidthRow{"Title65", 65, titleOf, titleCall, 64}),
                         [](const auto& row) { return std::string(row.param.name); });

// Mouse callbacks.
struct MouseRow {
    const char* name;
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

INSTANTIATE_TEST_SUITE_P(
    Rows, MouseCodes,
    ::testing::Values(MouseRow{"DoubleClick", 515, kScalePixels, 15, kTrayOpenSettings},
                      MouseRow{"RightDown", 516, kScalePixels, 15, kTrayPopupMenu},
                      MouseRow{"LeftDown", 513, kScalePixels, 15, kTrayNothing},
                      MouseRow{"LeftUp", 514, kScalePixels, 15, kTrayNothing},
                      MouseRow{"RightUp", 517, kScalePixels, 15, kTrayNothing},
                      MouseRow{"Move", 512, kScalePixels, 15, kTrayNothing},
                      MouseRow{"Zero", 0, kScalePixels, 15, kTrayNothing},
                      MouseRow{"HalfDownToEven", 515.5f, kScalePixels, 15, kTrayPopupMenu},
                      MouseRow{"HalfUpToEven", 516.5f, kScalePixels, 15, kTrayPopupMenu},
                      MouseRow{"HalfToEvenAway", 514.5f, kScalePixels, 15, kTrayNothing},
                      MouseRow{"NearDoubleClick", 515.4f, kScalePixels, 15, kTrayOpenSettings},
                      MouseRow{"Twips", 7725, kScaleTwips, 15, kTrayOpenSettings},
                      MouseRow{"TwipsRight", 7740, kScaleTwips, 15, kTrayPopupMenu},
                      MouseRow{"TwipsOther", 7710, kScaleTwips, 15, kTrayNothing},
                      MouseRow{"TwipsHalf", 7732.5f, kScaleTwips, 15, kTrayPopupMenu},
                      MouseRow{"TwipsTwelve", 6180, kScaleTwips, 12, kTrayOpenSettings},
                      MouseRow{"Huge", 1e20f, kScalePixels, 15, kTrayNothing},
                      MouseRow{"NotANumber", std::numeric_limits<float>::quiet_NaN(), kScalePixels,
                               15, kTrayNothing}),
    [](const auto& row) { return std::string(row.param.name); });

struct RoundRow {
    const char* name;
    double value;
    bool ok;
    std::int32_t result;
};

class HalfEven : public ::testing::TestWithParam<RoundRow> {};

TEST_P(HalfEven, Rounds) {
    const RoundRow& row = GetParam();
    std::int32_t out = -99;
    EXPECT_EQ(roundHalfEven(row.value, out), row.ok);
    if (row.ok) {
        EXPECT_EQ(out, row.result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HalfEven,
    ::testing::Values(
        RoundRow{"Half", 0.5, true, 0}, RoundRow{"OneHalf", 1.5, true, 2},
        RoundRow{"TwoHalf", 2.5, true, 2}, RoundRow{"MinusHalf", -0.5, true, 0},
        RoundRow{"MinusOneHalf", -1.5, true, -2}, RoundRow{"MinusTwoHalf", -2.5, true, -2},
        RoundRow{"Below", 2.49, true, 2}, RoundRow{"Above", 2.51, true, 3},
        RoundRow{"Max", 2147483647.0, true, 2147483647}, RoundRow{"TooBig", 2147483647.6, false, 0},
        RoundRow{"Min", -2147483648.0, true, INT32_MIN},
        RoundRow{"TooSmall", -2147483649.0, false, 0}, RoundRow{"Infinite", HUGE_VAL, false, 0}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
