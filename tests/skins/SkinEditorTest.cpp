#include "SkinFixtures.h"

#include "skins/PreviewWnd.h"
#include "skins/SkinEditor.h"
#include "skins/SkinFolders.h"
#include "skins/SkinModel.h"

#include "platform/ErrorReport.h"
#include "platform/IniFile.h"
#include "support/TemporaryFolder.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

using skins::ElementKind;
using test_support::TemporaryFolder;

namespace {

// Drives the editor with every modal dialog answered by the test.
class SkinEditorWindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_editor.dialogs.openFile = [this](QWidget*, const QString&, const QString&) { return m_openAnswer; };
        m_editor.dialogs.saveFile = [this](QWidget*, const QString&, const QString&) { return m_saveAnswer; };
        m_editor.dialogs.chooseFont = [this](QWidget*, const TMySkinEditor::FontChoice&) { return m_fontAnswer; };
        m_editor.dialogs.askYesNo = [this](QWidget*, const QString& caption, const QString& question) {
            m_questions.push_back(caption + "|" + question);
            return m_yesAnswer;
        };
        m_editor.dialogs.inform = [this](QWidget*, const QString&, const QString& text) { m_messages.push_back(text); };
        m_previousReporter = platform::setErrorReporter([this](const QString& text) { m_errors.push_back(text); });
        m_editor.show();
    }
    void TearDown() override { platform::setErrorReporter(m_previousReporter); }

    // A mouse event on the editor (which holds the mouse while picking) at
    // a point of the preview's face.
    void sendToEditor(QEvent::Type type, QPoint inPreview, Qt::MouseButtons buttons) {
        const QPoint global = m_editor.preview()->mapToGlobal(inPreview);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(m_editor.mapFromGlobal(global)), QPointF(global), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&m_editor, &event);
    }

    void load(const std::string& path) {
        m_openAnswer = QString::fromStdString(path);
        m_editor.LoadButton->click();
    }

    TMySkinEditor m_editor;
    QString m_openAnswer, m_saveAnswer;
    std::optional<TMySkinEditor::FontChoice> m_fontAnswer;
    bool m_yesAnswer = true;
    std::vector<QString> m_questions, m_messages, m_errors;
    platform::ErrorReporter m_previousReporter;
    TemporaryFolder m_folder;
};

TEST_F(SkinEditorWindowTest, ButtonPickedOnThePreviewAndChangedFontReachTheSkinEngineThroughTheSavedFile) {
    const std::string original = skins::defaultSkinFolder() + skins::skin_files::kPlayerA;
    load(original);
    ASSERT_TRUE(m_errors.empty()) << m_errors.front().toStdString();
    EXPECT_EQ(m_editor.currentPath().toStdString(), original);
    EXPECT_FALSE(m_editor.PickAddButton->isEnabled()) << "picking needs an element page";

    m_editor.showPage(TMySkinEditor::Page::Button);
    ASSERT_TRUE(m_editor.PickAddButton->isEnabled());
    m_editor.PickAddButton->click();
    ASSERT_NE(m_editor.preview(), nullptr);
    ASSERT_TRUE(m_editor.isPicking());
    sendToEditor(QEvent::MouseMove, {12, 13}, Qt::NoButton);
    EXPECT_EQ(m_editor.windowTitle(), "Skin Editor [Cursor Position:12,13]");
    // Dragged from the bottom right to the top left: the corners are ordered.
    sendToEditor(QEvent::MouseButtonPress, {70, 80}, Qt::LeftButton);
    sendToEditor(QEvent::MouseMove, {50, 60}, Qt::LeftButton);
    sendToEditor(QEvent::MouseButtonRelease, {40, 62}, Qt::NoButton);
    EXPECT_FALSE(m_editor.isPicking());
    EXPECT_EQ(m_editor.windowTitle(), "Skin Editor");
    EXPECT_TRUE(m_messages.empty());
    // The file has no ID numbers yet, so they start at 1.
    EXPECT_EQ(m_editor.buttonPage.id->text(), "BUTTON_1");
    EXPECT_EQ(m_editor.definition().counter(ElementKind::Button), 2);
    EXPECT_EQ(m_editor.definition().entries(ElementKind::Button).back(), "BUTTON_1, 40, 62, 30, 18,  ");
    EXPECT_TRUE(m_editor.isModified());
    EXPECT_TRUE(m_editor.preview()->markerVisible());
    EXPECT_EQ(m_editor.preview()->markerRect(), QRect(40, 62, 30, 18));

    m_editor.showPage(TMySkinEditor::Page::Text);
    QListWidget* texts = m_editor.textPage.list;
    const int title = 9;
    texts->setCurrentRow(title);
    EXPECT_EQ(m_editor.textPage.id->text(), "Title");
    EXPECT_EQ(m_editor.preview()->markerRect(), QRect(20, 103, 8, 8));
    QFont font(QStringLiteral("Courier"), 11);
    font.setBold(true);
    m_fontAnswer = TMySkinEditor::FontChoice{font, QColor(0x12, 0x34, 0x56)};
    m_editor.textPage.font->click();
    EXPECT_EQ(m_editor.textPage.color->text(), "$00563412");
    m_editor.textPage.update->click();

    TemporaryFolder target;
    m_saveAnswer = QString::fromStdString(target.file(skins::skin_files::kPlayerA));
    m_editor.SaveAsButton->click();
    EXPECT_FALSE(m_editor.isModified());
    EXPECT_EQ(m_editor.currentPath(), m_saveAnswer);

    skins::SkinModel before, after;
    before.LoadSkin(original);
    ASSERT_NO_THROW(after.LoadSkin(m_saveAnswer.toStdString())) << "the images travel with the saved file";
    ASSERT_EQ(after.hotAreas().size(), before.hotAreas().size() + 1);
    const HotAreaInfoRec& added = after.hotAreas().back();
    EXPECT_EQ(added.Name, "BUTTON_1");
    EXPECT_EQ(added.rect(), PixelRect::fromSize(40, 62, 30, 18));
    EXPECT_FALSE(added.IsSwitch);
    EXPECT_EQ(added.Hint, "");

    const DisplayInfoRec& changed = after.displays()[title];
    EXPECT_EQ(changed.Name, "Title");
    EXPECT_EQ(changed.Font.Face, "Courier");
    EXPECT_EQ(changed.Font.SizePoints, 11);
    EXPECT_TRUE(changed.Font.Bold);
    EXPECT_FALSE(changed.Font.Italic);
    EXPECT_EQ(changed.Font.Color, 0x563412u);
    EXPECT_EQ(changed.Left, 20);
    EXPECT_EQ(changed.Top, 103);

    ASSERT_EQ(after.gauges().size(), before.gauges().size());
    for (size_t i = 0; i < before.gauges().size(); ++i) {
        EXPECT_EQ(after.gauges()[i].Name, before.gauges()[i].Name);
        EXPECT_EQ(after.gauges()[i].Left, before.gauges()[i].Left);
        EXPECT_EQ(after.gauges()[i].Width, before.gauges()[i].Width);
        EXPECT_EQ(after.gauges()[i].Horizontal, before.gauges()[i].Horizontal);
    }
    // Everything else reads as it did.
    for (size_t i = 0; i < before.hotAreas().size(); ++i) {
        EXPECT_EQ(after.hotAreas()[i].Name, before.hotAreas()[i].Name);
        EXPECT_EQ(after.hotAreas()[i].rect(), before.hotAreas()[i].rect());
        EXPECT_EQ(after.hotAreas()[i].Hint, before.hotAreas()[i].Hint);
    }
    EXPECT_EQ(after.trackBars().size(), before.trackBars().size());
    EXPECT_EQ(after.displays()[0].Text, before.displays()[0].Text);
    const platform::IniDocument saved = platform::IniDocument::load(m_saveAnswer.toStdString());
    EXPECT_EQ(saved.readInteger("NEWIDNUMBER", "Button", 0), 2);
    EXPECT_EQ(saved.readInteger("NEWIDNUMBER", "Text", 0), 2);
}

TEST_F(SkinEditorWindowTest, DamagedFileIsReportedWithTheEngineTextAndTheEditorGoesOn) {
    const std::string good = skins::defaultSkinFolder() + skins::skin_files::kPlayerA;
    load(good);
    const std::string damaged = m_folder.file("Damaged.ini");
    skin_fixtures::writeText(damaged, "[Version]\nVer=150\n[BITMAPINFO]\nMaskBitmap=none.bmp\n"
                                      "[HOTAREAINFO]\nCount=1\n1=Play, 10 , 10, 5, 5\n");
    load(damaged);
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_EQ(m_errors[0], "'10 ' is not a valid integer value");
    EXPECT_EQ(m_editor.currentPath().toStdString(), good) << "the editor keeps the skin it had";
    EXPECT_EQ(m_editor.definition().entries(ElementKind::Button).size(), 17u);

    // The editor goes on: a file with a missing image loads into the editor
    // and its preview reports the engine's error.
    skin_fixtures::writeText(damaged, "[Version]\nVer=150\n[BITMAPINFO]\nMaskBitmap=none.bmp\n");
    load(damaged);
    EXPECT_EQ(m_editor.currentPath().toStdString(), damaged);
    m_editor.PreviewButton->click();
    ASSERT_EQ(m_errors.size(), 2u);
    EXPECT_TRUE(m_errors[1].startsWith("Cannot open file ")) << m_errors[1].toStdString();
    EXPECT_EQ(m_editor.preview(), nullptr);
}

TEST_F(SkinEditorWindowTest, PickingAndPreviewWantASavedFileAndThePreviewClosesFromItsMenu) {
    m_editor.showPage(TMySkinEditor::Page::TrackBar);
    m_editor.PickRectButton->click();
    m_editor.PreviewButton->click();
    EXPECT_EQ(m_messages, (std::vector<QString>{"Please save ini file first!", "Please save ini file first!"}));
    EXPECT_FALSE(m_editor.isPicking());

    load(skins::defaultSkinFolder() + skins::skin_files::kPlayerA);
    m_editor.showPage(TMySkinEditor::Page::TrackBar);
    m_editor.trackBarPage.list->setCurrentRow(0);
    m_editor.PreviewButton->click();
    TPreviewWnd* preview = m_editor.preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "Preview");
    EXPECT_TRUE(preview->isVisible());
    // The pitch slider is vertical: 8 wide and its length high.
    EXPECT_EQ(preview->markerRect(), QRect(304, 50, 8, 154));
    const QImage shown = preview->grab().toImage();
    EXPECT_EQ(shown.pixelColor(304, 120), QColor(Qt::red)) << "the marker's left edge";
    EXPECT_NE(shown.pixelColor(308, 120), QColor(Qt::red)) << "the element shows through the marker";
    m_editor.showPage(TMySkinEditor::Page::Bitmap);
    EXPECT_FALSE(preview->markerVisible());

    ASSERT_EQ(preview->contextMenu()->actions().size(), 1);
    QAction* close = preview->contextMenu()->actions().front();
    EXPECT_EQ(close->text(), "&Close");
    close->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_editor.preview(), nullptr);
}

TEST_F(SkinEditorWindowTest, ElementPagesRefuseIncompleteInputAndDuplicateIds) {
    m_editor.showPage(TMySkinEditor::Page::Button);
    skins::ButtonPage& page = m_editor.buttonPage;
    page.id->setText("Play");
    page.x->setText("12px");
    page.width->setText("$10");
    page.isRadio->setChecked(true);
    page.add->click();
    EXPECT_EQ(m_messages.back(), "Please input group name!");
    EXPECT_EQ(page.x->text(), "0") << "numbers are mended before the group is checked";
    EXPECT_EQ(page.width->text(), "$10");
    EXPECT_EQ(page.hint->text(), " ");
    EXPECT_TRUE(m_editor.definition().entries(ElementKind::Button).empty());

    page.group->setText("Loops");
    page.add->click();
    EXPECT_EQ(m_editor.definition().entries(ElementKind::Button),
              (std::vector<std::string>{"Play, 0, 0, $10, 0,  , FALSE, Loops"}));
    page.add->click();
    EXPECT_EQ(m_messages.back(), "Current ID has already existed!");
    page.list->setCurrentRow(-1);
    page.update->click();
    EXPECT_EQ(m_messages.back(), "Please Choose a item.");
    page.id->clear();
    page.add->click();
    EXPECT_EQ(m_messages.back(), "Please Input ID!");
    EXPECT_EQ(m_editor.definition().entries(ElementKind::Button).size(), 1u);

    m_editor.showPage(TMySkinEditor::Page::TrackBar);
    m_editor.trackBarPage.add->click();
    EXPECT_EQ(m_messages.back(), "Please choose bitmap of trackbar!");
    EXPECT_TRUE(m_editor.definition().entries(ElementKind::TrackBar).empty());
}

TEST_F(SkinEditorWindowTest, ExitAsksToSaveChangesAndSavesOnYes) {
    m_editor.ExitButton->click();
    EXPECT_TRUE(m_questions.empty()) << "nothing changed, nothing to ask";

    m_editor.show();
    m_openAnswer = QStringLiteral("/somewhere/Mask.bmp");
    m_editor.bitmapPage.choose[0]->click();
    EXPECT_EQ(m_editor.bitmapPage.names[0]->text(), "Mask.bmp");
    EXPECT_TRUE(m_editor.isModified());
    m_saveAnswer = QString::fromStdString(m_folder.file("New.ini"));
    m_editor.ExitButton->click();
    EXPECT_EQ(m_questions, (std::vector<QString>{"Save|Do you want to save the chages ?"}));
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_FALSE(m_editor.isModified());
    const platform::IniDocument saved = platform::IniDocument::load(m_saveAnswer.toStdString());
    EXPECT_EQ(saved.readString("BITMAPINFO", "MaskBitmap", ""), "Mask.bmp");
    EXPECT_EQ(saved.readInteger("Version", "Ver", 0), 150);
}

} // namespace
