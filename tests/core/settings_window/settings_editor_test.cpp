// The settings window's routines: edits held until Apply or Cancel, activation, choosing and
// removing pictures, the day panels and the information panel, read back from the view.
#include "core/fakes/fakes.h"

#include <filesystem>

using namespace lumora;
using namespace lumora::fakes;

namespace {

using Act = std::function<void(FrmMainRig&)>;

const auto label1 = [](int i) -> Act { return [=](FrmMainRig& r) { r.editor.Label1_Click(i); }; };
const auto label3 = [](int i) -> Act { return [=](FrmMainRig& r) { r.editor.Label3_Click(i); }; };
const Act closeBox = [](FrmMainRig& r) { r.logic.tray.Form_QueryUnload(vbFormControlMenu); };
const Act reopen = [](FrmMainRig& r) { r.logic.tray.mnuabout_Click(); };

// The edit state as one line: the two mode captions, the seven style letters, Apply shown.
std::string summary(const FrmMainRig& r) {
    const SettingsView& v = r.window.view;
    std::string letters;
    for (std::size_t i = 1; i <= 7; ++i) {
        letters += v.label3[i].caption;
    }
    return v.label1[8].caption + " | " + v.label1[12].caption + " | " + letters +
           (v.label1[16].visible && v.label1[17].visible ? " | Apply" : "");
}

const char* const AP = " | Apply";

struct EditRow {
    const char* name;
    const char* options;
    std::vector<Act> acts;
    std::string shown;
    const char* stored = ""; // "Key=text;..." that must be stored afterwards
    int applies = 0;         // wallpaper applications caused
};

class Edits : public ::testing::TestWithParam<EditRow> {};

TEST_P(Edits, ShowAndStore) {
    const EditRow& row = GetParam();
    FrmMainRig rig;
    rig.setOptions(row.options);
    rig.started();
    reopen(rig);
    for (const Act& act : row.acts) {
        act(rig);
    }
    EXPECT_EQ(summary(rig), row.shown);
    std::istringstream stored(row.stored);
    for (std::string item; std::getline(stored, item, ';');) {
        EXPECT_EQ(rig.stored(item.substr(0, item.find('='))), item.substr(item.find('=') + 1))
            << item;
    }
    EXPECT_EQ(rig.only("engine.Apply").size(), static_cast<std::size_t>(row.applies));
}

const std::string SD = "Selected Wallpaper | Default Wallpaper | ";
const std::string kClean = SD + "SSSSSSS";
const std::string DD = "Default Wallpaper | Default Wallpaper | ";

const EditRow kEditRows[] = {
    {"ThreeModeClicksComeBackButStayModified", "", {label1(8), label1(8), label1(8)}, kClean + AP},
    {"NoPictureTogglesBack", "", {label1(12), label1(12)}, kClean + AP},
    {"StyleCycle", "", {label3(2), label3(2), label3(2)}, kClean + AP},
    {"TileToStretchThenApplyStoresOne",
     "Styl3=3",
     {label3(3), label1(16)},
     kClean,
     "Styl3=1;Styl1=1;Styl7=1",
     1},
    {"ApplyWritesEveryStyleAndTheModes",
     "",
     {label3(5), label1(8), label1(12), label1(16)},
     "Default Wallpaper | No Wallpaper | SSSSCSS",
     "Styl1=1;Styl5=2;Styl7=1;DirectWall=2;SelectWall=3",
     1},
    {"ApplyUnchangedStillReapplies", "", {label1(16)}, kClean, "Styl4=1", 1},
    {"CancelRestoresModeAndStyles",
     "Styl2=2",
     {label1(8), label3(2), label3(6), label1(17)},
     SD + "SCSSSSS"},
    // A close by the close box forgets pending modes; pending styles survive with Apply shown.
    {"CloseAndReopenKeepsStylesOnly",
     "",
     {label1(8), label3(1), closeBox, reopen},
     SD + "CSSSSSS" + AP},
    {"ApplyAfterReopenSavesStoredModeAndPendingStyle",
     "",
     {label1(8), label3(1), closeBox, reopen, label1(16)},
     SD + "CSSSSSS",
     "DirectWall=1;Styl1=2",
     1},
    // The close label only hides: the pending mode is kept.
    {"CloseLabelKeepsTheEdits", "", {label1(8), label1(14)}, DD + "SSSSSSS" + AP},
    {"InfoLabelsDoNothing", "", {label1(10), label1(11), label1(13), label1(15)}, kClean},
    {"UnknownStoredStyleKeepsItsLetter", "Styl4=4", {label3(4)}, kClean + AP},
    // Stored modes are numbers: an unknown code shows no caption, does not cycle and is not
    // stored over; another spelling of a code is that code; a text that is no number is absent.
    {"UnknownStoredModesStayAsTheyAre",
     "DirectWall=4;SelectWall=4",
     {label1(8), label1(12), label1(16)},
     " |  | SSSSSSS",
     "DirectWall=4;SelectWall=4",
     1},
    {"StoredModeSpellingsAreTheirCodes",
     "DirectWall=2.0;SelectWall= 3",
     {label1(8), label1(16)},
     "No Wallpaper | No Wallpaper | SSSSSSS",
     "DirectWall=3;SelectWall=3",
     1},
    {"StoredModesThatAreNoNumbersAreTheDefaults",
     "DirectWall=x;SelectWall=",
     {label1(16)},
     kClean,
     "DirectWall=1;SelectWall=2",
     1},
};

INSTANTIATE_TEST_SUITE_P(Rows, Edits, ::testing::ValuesIn(kEditRows), byName);

// Activation: reloads the modes, the caption, the switch, thumbnails and the bold day; a show
// that Form_Activate itself causes does not run it twice.
TEST(Activation, RefreshesFromTheStoreOnce) {
    FrmMainRig rig;
    rig.option("DispMess", "False");
    rig.started();
    rig.setDayValue(2, "/pics/Monday.jpg");
    rig.window.pictures["/pics/Monday.jpg"] = {640, 480};
    rig.editor.Form_Activate(); // shows the hidden window, which is this same activation
    EXPECT_EQ(rig.only("window.load"), CallLog{"window.loadThumbnail(2, /pics/Monday.jpg)"});
    const SettingsView& v = rig.window.view;
    EXPECT_EQ(v.caption, "Lumora - v2.2.4 - 03 February 2027 - 09:05:07");
    EXPECT_EQ(v.label1[9].caption, "Display Messages Disabled");
    EXPECT_EQ(v.label1[9].colour, Colorref::rgb(255, 0, 0));
    EXPECT_EQ(v.label1[3].toolTip, "Click to select a picture for Tuesday");
    // Wednesday (the fake clock's day) bold in dark red, the others in blue.
    for (std::size_t i = 1; i <= 7; ++i) {
        EXPECT_EQ(v.label1[i].bold, i == 4) << i;
        EXPECT_EQ(v.label1[i].colour,
                  i == 4 ? Colorref::rgb(192, 0, 0) : Colorref::rgb(128, 128, 255));
    }
    // The day panels: Monday's picture and remove mark, Sunday without a picture.
    EXPECT_EQ(v.image1[2].shows, DayPanelState::Thumbnail::Picture);
    EXPECT_EQ(v.image1[2].toolTip, "/pics/Monday.jpg - Click here to view the picture");
    EXPECT_EQ(v.label2[2].toolTip, "Remove Monday's Selection");
    EXPECT_EQ(v.image1[1].shows, DayPanelState::Thumbnail::NoPicture);
    EXPECT_EQ(v.image1[1].toolTip, "No picture selected for Sunday");
    EXPECT_EQ(v.label2[1].toolTip, "");
    EXPECT_EQ(v.label1[15].caption, "Author");
}

TEST(Activation, MessagesSwitchStoresEveryClickAndFollowsTheMenu) {
    FrmMainRig rig;
    rig.started();
    reopen(rig);
    for (const char* text : {"False", "True"}) {
        rig.editor.Label1_Click(9);
        EXPECT_EQ(rig.stored("DispMess"), text);
        EXPECT_EQ(rig.menu.checked(MenuId::mnuAlert), text == std::string("True"));
        EXPECT_EQ(rig.label1(9), text == std::string("True") ? "Display Messages Enabled"
                                                             : "Display Messages Disabled");
    }
    EXPECT_EQ(rig.window.view.label1[9].colour, Colorref::rgb(0, 255, 0));
}

// The blink: today's name and a shown Apply alternate; nothing else changes.
TEST(Blink, AlternatesTodayAndApplyOnly) {
    FrmMainRig rig;
    rig.started();
    rig.editor.Label3_Click(1);
    const SettingsView before = rig.window.view;
    rig.editor.Timer2_Timer();
    EXPECT_EQ(rig.label1(4), "");
    EXPECT_EQ(rig.label1(16), "");
    for (std::size_t i : {1u, 2u, 3u, 5u, 6u, 7u, 17u}) {
        EXPECT_EQ(rig.window.view.label1[i].caption, before.label1[i].caption) << i;
    }
    rig.editor.Timer2_Timer();
    EXPECT_EQ(rig.label1(4), "Wednesday");
    EXPECT_EQ(rig.label1(16), "Apply");
}

// Choosing a picture: the dialog, the two values, the copy, the wallpaper when today is
// concerned in mode 1, the thumbnails and the alert.
struct ChoiceRow {
    const char* name;
    int day;
    const char* options;
    std::optional<std::string> answer;
    CallLog calls; // dialogs, engine and window loads
    const char* alert;
};

class Choice : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(Choice, ChoosesAPicture) {
    const ChoiceRow& row = GetParam();
    FrmMainRig rig;
    rig.setOptions(row.options);
    rig.started();
    rig.registry.CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
    rig.registry.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Wednesday", std::string("/old.png"),
                             REG_SZ);
    rig.dialogs.fileAnswer = row.answer;
    rig.window.pictures["/pics/Wednesday.jpg"] = {4000, 3000};
    const std::size_t before = rig.host.records.size();
    rig.editor.mnuday_Click(row.day);
    EXPECT_EQ(rig.only("dialogs.|engine.|window.load"), row.calls);
    EXPECT_EQ(rig.dialogs.lastFilter, kPictureFilter);
    const std::string alerted =
        rig.host.records.size() > before ? fieldText(rig.tray.data().szInfo) : std::string();
    EXPECT_EQ(alerted, row.alert);
}

const ChoiceRow kChoiceRows[] = {
    {"TodayInModeOne",
     4,
     "",
     "/a/b.jpg",
     {"dialogs.openFile(Lumora - Choose wallpaper to use for Wednesday, '/old.png')",
      "engine.Transf(/a/b.jpg, 4)", "engine.ApplyWallpaperForDay(4)",
      "window.loadThumbnail(4, /pics/Wednesday.jpg)"},
     "Wednesday's wallpaper changed using\n\r/a/b.jpg"},
    {"TodayInModeTwo",
     4,
     "DirectWall=2",
     "/a/b.jpg",
     {"dialogs.openFile(Lumora - Choose wallpaper to use for Wednesday, '/old.png')",
      "engine.Transf(/a/b.jpg, 4)", "window.loadThumbnail(4, /pics/Wednesday.jpg)"},
     "Wednesday's wallpaper changed using\n\r/a/b.jpg"},
    {"AnotherDayQuietly",
     1,
     "DispMess=False",
     "/a/c.png",
     {"dialogs.openFile(Lumora - Choose wallpaper to use for Sunday, '')",
      "engine.Transf(/a/c.png, 1)", "window.loadThumbnail(1, /pics/Sunday.png)"},
     ""},
    {"Cancel",
     4,
     "",
     std::nullopt,
     {"dialogs.openFile(Lumora - Choose wallpaper to use for Wednesday, '/old.png')"},
     ""},
};

INSTANTIATE_TEST_SUITE_P(Rows, Choice, ::testing::ValuesIn(kChoiceRows), byName);

TEST(Choice, StoresTheSourceAndWarnsOnAFailedRead) {
    FrmMainRig rig;
    rig.started();
    rig.dialogs.fileAnswer = "/home/ann/x.gif";
    rig.editor.mnuday_Click(6);
    EXPECT_EQ(rig.registry.GetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Friday"),
              "/home/ann/x.gif");
    // A failed read of the previous path: the box, then the dialog without an initial file.
    rig.registry.SetRegValue(HKEY_CURRENT_USER, kSettingsKey, "Friday", std::string("Error: 13"),
                             REG_SZ);
    rig.log.clear();
    rig.dialogs.fileAnswer.reset();
    rig.editor.mnuday_Click(6);
    EXPECT_EQ(rig.only("dialogs."),
              (CallLog{"dialogs.messageBox(Lumora, icon 2)",
                       "dialogs.openFile(Lumora - Choose wallpaper to use for Friday, '')"}));
    EXPECT_EQ(rig.dialogs.lastText, "Error: 13");
}

struct RemovalRow {
    const char* name;
    int day;
    const char* options;
    CallLog calls;
    const char* alert;
};

class Removal : public ::testing::TestWithParam<RemovalRow> {};

TEST_P(Removal, EmptiesTheDay) {
    const RemovalRow& row = GetParam();
    FrmMainRig rig;
    rig.setOptions(row.options);
    rig.started();
    rig.setDayValue(row.day, "/pics/x.jpg");
    const std::size_t before = rig.host.records.size();
    rig.editor.Label2_Click(row.day);
    EXPECT_EQ(rig.only("window.|engine."), row.calls);
    EXPECT_EQ(rig.dayValue(row.day), "");
    const std::string alerted =
        rig.host.records.size() > before ? fieldText(rig.tray.data().szInfo) : std::string();
    EXPECT_EQ(alerted, row.alert);
}

const char* const kRemoved = "Wednesday's picture setting has been removed.";
const RemovalRow kRemovalRows[] = {
    {"TodayInModeOne",
     4,
     "",
     {"window.hide", "engine.ApplyWallpaperForDay(4)", "window.show"},
     kRemoved},
    {"TodayInModeThree", 4, "DirectWall=3", {"window.hide", "window.show"}, kRemoved},
    {"AnotherDayQuietly", 2, "DispMess=False", {"window.hide", "window.show"}, ""},
};

INSTANTIATE_TEST_SUITE_P(Rows, Removal, ::testing::ValuesIn(kRemovalRows), byName);

TEST(Removal, ADayWithoutPictureDoesNothing) {
    FrmMainRig rig;
    rig.started();
    rig.editor.Label2_Click(3);
    EXPECT_EQ(rig.log, CallLog{});
}

// The information panel over a thumbnail: the picture's own size and the file's length.
TEST(Hover, ShowsThePictureStateAndKeepsWhatCannotBeRead) {
    EngineRig files; // a scratch folder for real files
    FrmMainRig rig;
    rig.started();
    const fs::path picture = files.scratch() / "Monday.jpg";
    const fs::path missing = files.scratch() / "Friday.jpg";
    rig.setDayValue(2, utf8FromPath(picture));
    rig.setDayValue(6, utf8FromPath(missing));
    rig.window.pictures[utf8FromPath(picture)] = {6000, 4000};
    reopen(rig);
    auto lines = [&] { return rig.label1(15) + "|" + rig.label1(10) + "|" + rig.label1(11); };
    for (auto [bytes, size] : {std::pair{1500u, "1500 Bytes"},
                               {2047u, "2047 Bytes"},
                               {2048u, "2 KB"},
                               {1000000u, "976 KB"}}) {
        writeBytes(picture, patternBytes(bytes));
        rig.editor.Image1_MouseMove(2);
        EXPECT_EQ(lines(), std::string("Monday's Picture|Dimensions: 6000 x 4000|Size: ") + size);
    }
    // A deleted file measures the no-picture image and keeps the size line.
    rig.editor.Image1_MouseMove(6);
    EXPECT_EQ(lines(), "Friday's Picture|Dimensions: 160 x 120|Size: 976 KB");
    // A day without picture, and any Label1, give the author state.
    rig.editor.Image1_MouseMove(1);
    EXPECT_EQ(lines(), std::string("Author|") + kAuthorName + "|" + kAuthorAddress);
    rig.editor.Image1_MouseMove(2);
    rig.editor.Label1_MouseMove();
    EXPECT_EQ(rig.label1(15), "Author");
}

TEST(Thumbnail, ClickOpensThePreviewOnlyForADayWithAPicture) {
    FrmMainRig rig;
    rig.started();
    rig.setDayValue(3, "/pics/Tuesday.png");
    rig.editor.Image1_Click(3);
    rig.editor.Image1_Click(5);
    EXPECT_EQ(rig.only("preview."), CallLog{"preview.StartProj(/pics/Tuesday.png)"});
}

TEST(Thumbnail, ClosingDropsThePicturesAndAFailedLoadShowsNoPicture) {
    FrmMainRig rig;
    rig.started();
    rig.setDayValue(2, "/pics/broken.jpg"); // not among the pictures the window can load
    reopen(rig);
    EXPECT_EQ(rig.window.view.image1[2].shows, DayPanelState::Thumbnail::NoPicture);
    EXPECT_EQ(rig.window.view.image1[2].toolTip, "No picture selected for Monday");
    closeBox(rig);
    EXPECT_EQ(rig.window.view.image1[2].shows, DayPanelState::Thumbnail::Empty);
}

} // namespace
