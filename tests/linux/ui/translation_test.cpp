// A translation really changes what the windows show: a small German lumora_de.qm, built from
// tests/linux/ui/translation/lumora_de.ts, loaded as the program loads one at start. Each row reads
// a text from a live widget or from the core with the translation loaded, and again without it.
#include "core/engine/engine_texts.h"
#include "core/menu/tray_menu.h"
#include "core/settings_window/settings_view.h"
#include "linux/ui/preview/frm_prev.h"
#include "linux/ui/settings_window/frm_main.h"
#include "linux/ui/text/translation.h"
#include "linux/ui/tray/qt_tray_host.h"
#include "linux/ui/tray/qt_tray_menu.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

using namespace lumora;

namespace {

const QString kFolder = QStringLiteral(LUMORA_BINARY_DIR "/tests/linux/ui_translation");

struct TranslationRow {
    const char* name;
    std::function<QString()> shown;
    const char* german;
    const char* english;
};

void PrintTo(const TranslationRow& row, std::ostream* out) {
    *out << row.name;
}

class Translation : public ::testing::TestWithParam<TranslationRow> {
protected:
    void TearDown() override { unloadTranslation(); }
};

TEST_P(Translation, ShownInTheUsersLanguageAndInEnglishWithout) {
    const TranslationRow& row = GetParam();
    ASSERT_TRUE(loadTranslation(QLocale(QLocale::German, QLocale::Germany), {kFolder}));
    EXPECT_EQ(row.shown().toStdString(), row.german);
    unloadTranslation();
    EXPECT_EQ(row.shown().toStdString(), row.english);
}

QString settingsLabel(const char* name, const SettingsWindowModel& model) {
    FrmMain window;
    window.render(buildSettingsView(model));
    window.show();
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

const TranslationRow kRows[] = {
    {"SettingsWindowLabel",
     [] {
         SettingsWindowModel model;
         model.messages = true;
         return settingsLabel("Label1(9)", model);
     },
     "Meldungen an", "Display Messages Enabled"},
    {"DayNameInTheSettingsWindow",
     [] {
         SettingsWindowModel model;
         model.days[2].nameCaption = "Monday";
         return settingsLabel("Label1(2)", model);
     },
     "Montag", "Monday"},
    {"TrayMenuItem",
     [] {
         TrayMenu tree;
         return QtTrayMenu(tree).action(MenuId::mnurefresh, 0)->text();
     },
     "Hintergrund &erneuern", "&Refresh Wallpaper"},
    {"PreviewButton",
     [] { return FrmPrev().findChild<QPushButton*>(QStringLiteral("cPlus"))->text(); },
     "Vergrößern", "Zoom In"},
    {"AlertSentenceWithItsDay", [] { return QtTrayHost::displayText(dayChangeText("Monday")); },
     "Der Hintergrund für Montag ist gesetzt", "Your wallpaper has been set for Monday"},
    {"TwoLineAlert", [] { return QtTrayHost::displayText(noWallpaperModeText()); },
     "Kein Hintergrund\nwie eingestellt", "No wallpaper has been used\nmatching your settings"},
    {"TextWithoutTranslation", [] { return shownText("Cancel"); }, "Cancel", "Cancel"},
};
INSTANTIATE_TEST_SUITE_P(Rows, Translation, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// Nothing is installed where no file fits the language (or the file has no translated text).
TEST(TranslationLoad, NothingForALanguageWithoutAFile) {
    EXPECT_FALSE(loadTranslation(QLocale(QLocale::French, QLocale::France), {kFolder}));
    EXPECT_FALSE(loadTranslation(QLocale(QLocale::German),
                                 {QStringLiteral(LUMORA_BINARY_DIR "/translations")}));
    EXPECT_EQ(dayChangeText("Monday"), "Your wallpaper has been set for Monday");
}

} // namespace
