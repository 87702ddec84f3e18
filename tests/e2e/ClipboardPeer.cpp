// One side of a copy and paste between two running programs: the real user page editor, driven by
// the keys, on whatever display the environment names.
//   clipboard_peer copy IN.zyl PAGE_ID OBJECT_INDEX  - copies the object, prints "copied", and
//                                                      serves the clipboard until stdin ends
//   clipboard_peer paste IN.zyl PAGE_ID OUT.zyl      - pastes what the other program copied,
//                                                      clicks OK and saves the layout
// Any failure prints one line on stderr and exits 1.
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/canvas/CanvasClipboard.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

// Only a hung peer comes near it.
constexpr int kGenerousMs = 20000;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string& what) {
    if (!condition)
        throw Failure(what);
}

int number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    require(end != text && *end == '\0', std::string("not a number: ") + text);
    return static_cast<int>(value);
}

// The layout and its user page in the editor, shown, active, the canvas holding the focus.
struct Editor {
    Editor(const std::string& path, int pageId) {
        std::string error;
        require(layout.LoadTemplate(path, &error), error);
        TListItem* item = layout.FindPage(pageId);
        require(item != nullptr && item->kind == TListItem::kUserPage, "no user page " + std::to_string(pageId));
        page = static_cast<TUserPage*>(item);
        dlg = std::make_unique<CZylUserDlg>(layout, *page, ui, false);
        dlg->show();
        dlg->activateWindow();
        require(QTest::qWaitForWindowActive(dlg.get(), kGenerousMs), "the editor never became active");
        dlg->canvas->setFocus();
        require(dlg->canvas->hasFocus(), "the canvas did not take the focus");
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dlg->canvas, key, modifiers);
        require(ui.messages.isEmpty(), "the editor said: " + ui.messages.join(" / ").toStdString());
    }
    static bool clipboardHasObject() { return CanvasClipboard::HasObject(QGuiApplication::clipboard()->mimeData()); }

    TLayout layout;
    TUserPage* page = nullptr;
    ScriptedUiHost ui;
    std::unique_ptr<CZylUserDlg> dlg;
};

int copy(QApplication& app, const std::string& path, int pageId, int index) {
    Editor editor(path, pageId);
    require(index >= 0 && static_cast<std::size_t>(index) < editor.page->objects.size(), "no such object");
    // Tab walks the objects in stacking order from the first.
    for (int i = 0; i <= index; ++i)
        editor.key(Qt::Key_Tab);
    require(editor.dlg->canvas->selected == editor.page->objects[static_cast<std::size_t>(index)].get(),
            "Tab did not select the object");
    editor.key(Qt::Key_C, Qt::ControlModifier);
    require(QGuiApplication::clipboard()->ownsClipboard() && Editor::clipboardHasObject(),
            "the clipboard did not take the object");
    std::fputs("copied\n", stdout);
    std::fflush(stdout);
    // The other program reads the object from us, so we stay until we are told to go.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}

int paste(const std::string& path, int pageId, const std::string& out) {
    Editor editor(path, pageId);
    require(QTest::qWaitFor(Editor::clipboardHasObject, kGenerousMs), "the clipboard never offered an object");
    const std::size_t objects = editor.page->objects.size();
    editor.key(Qt::Key_V, Qt::ControlModifier);
    require(editor.page->objects.size() == objects + 1, "nothing was pasted");
    QTest::mouseClick(editor.dlg->okButton, Qt::LeftButton);
    require(editor.dlg->result() == QDialog::Accepted, "OK did not close the editor");
    std::string error;
    require(editor.layout.SaveTemplate(out, &error), error);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    UseScratchSettings();
    QApplication app(argc, argv);
    try {
        const std::string command = argc == 5 ? argv[1] : "";
        if (command == "copy")
            return copy(app, argv[2], number(argv[3]), number(argv[4]));
        if (command == "paste")
            return paste(argv[2], number(argv[3]), argv[4]);
        throw Failure("usage: clipboard_peer copy IN.zyl PAGE_ID OBJECT_INDEX | paste IN.zyl PAGE_ID OUT.zyl");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "clipboard_peer: %s\n", failure.what());
        return 1;
    }
}
