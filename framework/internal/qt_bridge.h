#pragma once

// Framework-internal meeting points between the parts of the framework layer
// that are built on Qt. Never included outside framework/.

#include "framework/graphics.h"
#include "framework/picture.h"
#include "framework/ref.h"

#include <QImage>

#include <exception>
#include <functional>
#include <memory>

class QMainWindow;
class QPainter;
class QMenuBar;

namespace fw {

class MenuBar;
class Window;

// The pixels of a picture: a QImage in Format_ARGB32_Premultiplied, blank
// pixels fully transparent. Drawing code that keeps a QPainter open on the
// image ends it in Flush() before anything reads the image.
struct Picture::Image {
    QImage image;
    std::function<void()> flush; // ends any open painter; set by the picture's graphics
    const QImage& Read() const {
        if (flush) {
            flush();
        }
        return image;
    }
};

namespace internal {

// A picture made from an image that was read from a file.
Ref<Picture> PictureFromImage(QImage image);

// A canvas's graphics context: draws through `painter` between BeginPaint and
// EndPaint, and draws nothing outside them.
std::unique_ptr<Graphics> NewCanvasGraphics(int width, int height);
void BeginPaint(Graphics& graphics, QPainter& painter);
void EndPaint(Graphics& graphics);

// Puts the menus of `menuBar` into the window's menu bar, replacing any there.
// The standard edit items (named EditUndo, EditCut, EditCopy, EditPaste,
// EditClear) act on the focused text field, and a QuitMenuItem quits.
void InstallMenuBar(QMainWindow& window, const MenuBar& menuBar);

// Raises a handler's exception to the unhandled-exception report.
void ReportHandlerException(std::exception_ptr error);

// Closes every live window (each raises its "Close" event); used by quitting.
void CloseAllWindows();

} // namespace internal
} // namespace fw
