#include "linux/ui/text/translation.h"

#include "core/text/translation.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

namespace lumora {

namespace {

// The loaded translation, for the life of the program (or until unloadTranslation).
std::unique_ptr<QTranslator>& loaded() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// A text without a translation comes back byte for byte, whatever its encoding.
std::string translateLoaded(const std::string& english) {
    const QString text = loaded()->translate(kTextContext, english.c_str());
    return text.isNull() ? english : text.toStdString();
}

} // namespace

QStringList translationFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program + QStringLiteral("/translations"),
            program + QStringLiteral("/../share/lumora/translations")};
}

bool loadTranslation(const QLocale& locale, const QStringList& folders) {
    unloadTranslation();
    for (const QString& folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, QStringLiteral("lumora"), QStringLiteral("_"), folder) &&
            !translator->isEmpty()) {
            QCoreApplication::installTranslator(translator.get());
            loaded() = std::move(translator);
            setTextTranslator(&translateLoaded);
            return true;
        }
    }
    return false;
}

void unloadTranslation() {
    setTextTranslator(nullptr);
    if (loaded()) {
        QCoreApplication::removeTranslator(loaded().get());
        loaded().reset();
    }
}

QString shownText(const std::string& text) {
    return QString::fromStdString(translated(text));
}

} // namespace lumora
