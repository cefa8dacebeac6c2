#include "screens/qt/Translations.h"

#include "app/base/Translation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

namespace poronpa {

namespace {

Language installed = Language::Japanese;

std::string translatedByToolkit(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

/// The translators of the language installed: the game's catalogue and the toolkit's own, kept
/// for the program's life since the application holds them only by pointer.
QTranslator& gameCatalogue()
{
    static QTranslator translator;
    return translator;
}

QTranslator& toolkitCatalogue()
{
    static QTranslator translator;
    return translator;
}

/// Lives as a child of the widget it watches, so it goes with it.
class LanguageWatcher : public QObject {
public:
    LanguageWatcher(QWidget& widget, std::function<void()> apply) : QObject(&widget), apply_(std::move(apply))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            apply_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> apply_;
};

} // namespace

void installLanguage(Language language)
{
    QCoreApplication::removeTranslator(&gameCatalogue());
    QCoreApplication::removeTranslator(&toolkitCatalogue());
    // The toolkit's buttons (Yes, No, Cancel) read in English without a catalogue of their own.
    if (language == Language::Japanese &&
        toolkitCatalogue().load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&toolkitCatalogue());
    if (language == Language::English && gameCatalogue().load(QStringLiteral(":/translations/poronpa_en.qm")))
        QCoreApplication::installTranslator(&gameCatalogue());
    installTranslation(translatedByToolkit);
    installed = language;
}

Language installedLanguage() { return installed; }

void keepTranslated(QWidget& widget, std::function<void()> apply)
{
    apply();
    new LanguageWatcher(widget, std::move(apply));
}

} // namespace poronpa
