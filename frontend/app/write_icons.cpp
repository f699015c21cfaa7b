// Writes the program's icon as PNG files for the desktop's icon theme:
// FOLDER/SIZExSIZE/apps/pfac.png for each size given after the folder.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "frontend/windows/start_picture.h"

int main(int argc, char* argv[]) {
  // Drawn without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    const QString apps = QStringLiteral("%1x%1/apps").arg(size);
    if (size <= 0 || !folder.mkpath(apps) ||
        !pfac::frontend::DrawAppIcon(size).save(folder.filePath(apps + QStringLiteral("/pfac.png")))) {
      std::fprintf(stderr, "cannot write the icon of size %s\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
