#include <QApplication>

#include "app/allocator_arenas.h"
#include "app/message_boxes.h"
#include "app/viewer_startup.h"
#include "video/media_graph.h"
#include "video/media_services.h"

int main(int argc, char* argv[]) {
  ostrel::UseOneAllocatorArena();
  // The control bar is a native child window; the widgets beside it stay ordinary ones.
  QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
  // Qt takes its own options (-platform, -display, ...); the viewer itself reads none.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ostrel"));
  ostrel::MessageBoxes messages;
  return ostrel::RunViewer(app, {ostrel::InitializeMediaServices, ostrel::CreateMediaGraph}, messages);
}
