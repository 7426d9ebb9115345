#include "testsupport.h"

#include "app/filetypes.h"
#include "app/velk.h"
#include "menus/menu.h"
#include "windows/aboutwnd.h"
#include "windows/instances.h"
#include "windows/pictures.h"

#include "framework/picture_p.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include <utility>
#include <vector>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// One line per item of the bar, in the order the bar holds them:
// parent > name | text | class | shortcut, and "auto" when AutoEnabled.
QStringList DescribeTree(const MenuItem& menu, const QString& parent = {}) {
    QStringList rows;
    for (int i = 0; i < menu.Count(); ++i) {
        const std::shared_ptr<MenuItem> item = menu.Item(i);
        rows << QStringLiteral("%1 > %2 | %3 | %4 | %5%6")
                    .arg(parent, Q(item->Name()), Q(item->Value()), Q(item->Class().name),
                         Q(item->Shortcut()), item->AutoEnabled() ? " | auto" : "");
        rows << DescribeTree(*item, Q(item->Name()));
    }
    return rows;
}

// name/creator/type/extensions/UTI, in the order a registration hands them over.
QString Describe(const FileTypeRegistration& type) {
    return QStringList{Q(type.name), Q(type.macCreator), Q(type.macType), Q(type.extensions),
                       Q(type.uti)}
        .join(QLatin1Char('/'));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<AboutWnd> about_;
    std::vector<std::pair<FileTypeRegistration, bool>> fileTypeChanges_;

private slots:
    void initTestCase() {
        SetFileTypeRegistryObserver([this](const FileTypeRegistration& type, bool registering) {
            fileTypeChanges_.emplace_back(type, registering);
        });
        StartVelk();
        about_ = RuntimeCheckCast<AboutWnd>(GetImplicitWindow("AboutWnd.AboutWnd"));
        QVERIFY(about_);
        // The splash's own timer would dismiss it mid-test; dismissing is another test's.
        NotNil(about_->Timer1()).SetRunMode(Timer::kRunModeOff);
    }

    void onlyTheAboutWindowExistsAndIsOnScreen() {
        QCOMPARE(ImplicitWindows().size(), std::size_t{1});
        QCOMPARE(ImplicitWindows().front(), std::static_pointer_cast<Window>(about_));
        QVERIFY(about_->Visible());
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
        QVERIFY(!GetImplicitWindow("ControlWnd.ControlWnd"));
        QVERIFY(!GetImplicitWindow("Qwindow.Qwindow"));

        QWidgetList shown;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                shown << widget;
        QCOMPARE(shown, QWidgetList{about_->TopLevelWidget()});

        // Asking for the About window again builds nothing new.
        QCOMPARE(instance::AboutWnd(), about_);
        QCOMPARE(ImplicitWindows().size(), std::size_t{1});
    }

    void aboutWindowShowsThePictureAboveTheGreyBoldRightsLine() {
        QCOMPARE(about_->Content()->size(), QSize(400, 350));
        QVERIFY(about_->TopLevelWidget()->windowTitle().isEmpty());

        const std::shared_ptr<Canvas> canvas = about_->Canvas1();
        QVERIFY(canvas);
        QCOMPARE(canvas->Widget()->geometry(), QRect(69, 20, 262, 266));
        QVERIFY(canvas->Backdrop());
        QCOMPARE(canvas->Backdrop(), Velk64());
        // The picture fills its area exactly, so the canvas shows it pixel for pixel.
        const QImage picture = Velk64()->Data().image.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(262, 266));
        QCOMPARE(canvas->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);

        const std::shared_ptr<Label> rights = about_->StaticText5();
        QVERIFY(rights);
        auto* label = qobject_cast<QLabel*>(rights->Widget());
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(0, 310, 400, 40));
        QCOMPARE(label->geometry().bottom() + 1, about_->Content()->height());
        QVERIFY(label->isVisible());
        QVERIFY(label->font().bold());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x7f, 0x7f, 0x7f));
        QVERIFY(label->text().startsWith(QChar(0x00A9)));
        QVERIFY(!label->text().contains(QLatin1Char('\n')));
        QVERIFY(!label->wordWrap());
    }

    void appGivesTheOneApplicationObjectWithItsVersionData() {
        const std::shared_ptr<Velk> app = App();
        QVERIFY(app);
        QCOMPARE(App(), app);
        QCOMPARE(GetAppObject(), std::static_pointer_cast<Application>(app));

        QCOMPARE(app->MajorVersion(), 2);
        QCOMPARE(app->MinorVersion(), 0);
        QCOMPARE(app->BugVersion(), 0);
        QCOMPARE(app->NonReleaseVersion(), 0);
        QCOMPARE(app->StageCode(), 3);
        QCOMPARE(Q(app->ShortVersion()), QStringLiteral("2.0"));
        QCOMPARE(Q(app->PackageInfo()), QStringLiteral("Velk"));
        const QString longVersion = Q(app->LongVersion());
        QVERIFY(!longVersion.isEmpty());
        QVERIFY(!longVersion.contains(QLatin1Char('\n')));
        QVERIFY(!longVersion.contains(QLatin1Char('\r')));
        QVERIFY(Application::SupportsHiDPI());
    }

    void installedMenuBarHoldsTheTwentyItemsInOrder() {
        const std::shared_ptr<MenuBar> bar = App()->GetMenuBar();
        QVERIFY(bar);
        QCOMPARE(instance::Menu(), bar);
        QCOMPARE(instance::Menu(), bar);

        const QStringList expected = {
            " > UntitledMenu3 |  | MenuItem | ",
            " > UntitledMenu2 | File | MenuItem | ",
            "UntitledMenu2 > FilePrint | Print | MenuItem | ",
            "UntitledMenu2 > FileQuit | Quit | QuitMenuItem | Cmd+Q | auto",
            "UntitledMenu2 > UntitledMenu8 |  | MenuItem | ",
            " > UntitledMenu0 | Edit | MenuItem | ",
            "UntitledMenu0 > EditUndo | Undo | MenuItem | Cmd+Z",
            "UntitledMenu0 > UntitledMenu1 | - | MenuItem | ",
            "UntitledMenu0 > EditCut | Cut | MenuItem | Cmd+X",
            "UntitledMenu0 > EditCopy | Copy | MenuItem | Cmd+C",
            "UntitledMenu0 > EditPaste | Paste | MenuItem | Cmd+V",
            "UntitledMenu0 > EditClear |  | MenuItem | ",
            "UntitledMenu0 > UntitledMenu7 |  | MenuItem | ",
            " > WindowMenu | Window | MenuItem | ",
            "WindowMenu > ControlMenuItem | Control | MenuItem | ",
            "WindowMenu > AboutMenuItem | About Velk | MenuItem | ",
            "WindowMenu > UntitledMenu6 |  | MenuItem | ",
            "WindowMenu > AboutVelk | About Velk | AppleMenuItem | ",
            "WindowMenu > UntitledMenu5 |  | AppleMenuItem | ",
            " > UntitledMenu4 |  | MenuItem | ",
        };
        QCOMPARE(DescribeTree(*bar), expected);
        QVERIFY(bar->Child("UntitledMenu2"));
        QCOMPARE(Q(bar->Child("UntitledMenu2")->Value()), QStringLiteral("File"));
        QVERIFY(!bar->Child("FileQuit"));
        for (const char* name : {"AboutVelk", "AboutMenuItem", "ControlMenuItem"}) {
            QVERIFY(bar->_Lookup(name));
            QCOMPARE(bar->_Lookup(name), bar->Child("WindowMenu")->Child(name));
        }

        // The separator is drawn as one and has no keys; Quit answers Ctrl+Q.
        QVERIFY(bar->_Lookup("UntitledMenu1")->Action()->isSeparator());
        QVERIFY(bar->_Lookup("UntitledMenu1")->Action()->shortcut().isEmpty());
        QCOMPARE(bar->_Lookup("FileQuit")->Action()->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Q));

        // The About window carries the bar.
        auto* window = qobject_cast<QMainWindow*>(about_->TopLevelWidget());
        QVERIFY(window);
        const std::vector<QAction*> topLevel = bar->TopLevelActions();
        QCOMPARE(window->menuBar()->actions(), QList<QAction*>(topLevel.begin(), topLevel.end()));
    }

    void bothFileTypesAreRegisteredOnceAndNeverWithdrawn() {
        QStringList changes;
        for (const auto& [type, registering] : fileTypeChanges_)
            changes << (registering ? "register " : "withdraw ") + Describe(type);
        QCOMPARE(changes, (QStringList{"register text/R*ch/TEXT//", "register ////"}));
        QStringList registered;
        for (const FileTypeRegistration& type : RegisteredFileTypes())
            registered << Describe(type);
        QCOMPARE(registered, (QStringList{"text/R*ch/TEXT//", "////"}));

        QCOMPARE(FileTypes::pAllFileTypes.size(), std::size_t{2});
        QCOMPARE(FileTypes::pAllFileTypes[0], FileTypes::Text());
        QCOMPARE(FileTypes::pAllFileTypes[1], FileTypes::UntitledType());

        const FileType& textType = NotNil(FileTypes::Text());
        QCOMPARE(Q(textType.Name()), QStringLiteral("text"));
        QCOMPARE(Q(textType.MacType()), QStringLiteral("TEXT"));
        QCOMPARE(Q(textType.MacCreator()), QStringLiteral("R*ch"));
        QVERIFY(textType.Extensions().empty());
        QVERIFY(textType.MimeType().empty());
        QVERIFY(textType.ConformsTo().empty());
        QVERIFY(textType.UTI().empty());
        QVERIFY(textType.Imported());
        QVERIFY(textType.Registered());

        const FileType& untitledType = NotNil(FileTypes::UntitledType());
        for (const std::string* property :
             {&untitledType.Name(), &untitledType.Extensions(), &untitledType.MacType(),
              &untitledType.MacCreator(), &untitledType.MimeType(), &untitledType.ConformsTo(),
              &untitledType.UTI()})
            QVERIFY(property->empty());
        QVERIFY(untitledType.Imported());
        QVERIFY(untitledType.Registered());
    }

    void picturesAreReadOnceAndKept() {
        const std::shared_ptr<Picture> small = Velk32();
        QVERIFY(small);
        QCOMPARE(Velk32(), small);
        QCOMPARE(QSize(small->Width(), small->Height()), QSize(139, 135));
        const std::shared_ptr<Picture> large = Velk64();
        QVERIFY(large);
        QCOMPARE(Velk64(), large);
        QCOMPARE(about_->Canvas1()->Backdrop(), large);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
