#pragma once
// The window's context menu in Qt, made from the form's description of it
// each time it opens: a right click on the picture or the result (which
// have no menu of their own), the Menu key or Shift+F10 on a control that
// has none (the buttons). The fields keep their own menus, also on
// Shift+F10, which Qt does not turn into a menu request by itself.
// And the clipboard's text, which the menu's commands read and write.

#include <QObject>
#include <QPoint>

#include <string>
#include <string_view>

class QContextMenuEvent;
class QWidget;

namespace kvorn {

class TForm1;

class WindowMenu : public QObject {
public:
    WindowMenu(kvorn::TForm1& form, QWidget* window);
    // A menu request that reached the window: no control took it.
    void Requested(QContextMenuEvent* event);
    // Shift+F10 in `control` asks for its menu, as the Menu key does.
    void Watch(QWidget* control);

    // UTF-8; empty when the clipboard holds no text.
    static std::string ClipboardText();
    static void SetClipboardText(std::string_view text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    kvorn::TForm1& form_;
    QWidget* window_;
};

}  // namespace kvorn
