// Makes the shipped icon libraries: each name of a list file is looked up in an icon set in Iconify's JSON
// form (SVG bodies on a square view box), drawn at 16, 32 and 48 pixels and written as one icon of a 16-bit
// NE icon library.
//
//   datoria-iclgen ICONS.json LIST.txt OUT.icl
#include "tools/NeIconLibraryWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    if (argc != 4) {
        err << "usage: datoria-iclgen ICONS.json LIST.txt OUT.icl\n";
        return 2;
    }
    QFile json(QString::fromLocal8Bit(argv[1]));
    QFile list(QString::fromLocal8Bit(argv[2]));
    if (!json.open(QIODevice::ReadOnly) || !list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "datoria-iclgen: cannot read the icon set or the list\n";
        return 1;
    }
    const QJsonObject set = QJsonDocument::fromJson(json.readAll()).object();
    const QJsonObject icons = set.value(QStringLiteral("icons")).toObject();
    const QJsonObject aliases = set.value(QStringLiteral("aliases")).toObject();
    const int setWidth = set.value(QStringLiteral("width")).toInt(16);
    const int setHeight = set.value(QStringLiteral("height")).toInt(16);

    QList<QList<QImage>> library;
    while (!list.atEnd()) {
        QString name = QString::fromUtf8(list.readLine()).trimmed();
        if (name.isEmpty() || name.startsWith(u'#'))
            continue;
        if (!icons.contains(name) && aliases.contains(name))
            name = aliases.value(name).toObject().value(QStringLiteral("parent")).toString();
        if (!icons.contains(name)) {
            err << "datoria-iclgen: no icon named " << name << '\n';
            return 1;
        }
        const QJsonObject icon = icons.value(name).toObject();
        const int w = icon.value(QStringLiteral("width")).toInt(setWidth);
        const int h = icon.value(QStringLiteral("height")).toInt(setHeight);
        const QString svg =
            QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\">%3</svg>")
                .arg(w)
                .arg(h)
                .arg(icon.value(QStringLiteral("body")).toString());
        QSvgRenderer renderer(svg.toUtf8());
        if (!renderer.isValid()) {
            err << "datoria-iclgen: cannot draw " << name << '\n';
            return 1;
        }
        QList<QImage> images;
        for (int size : {48, 32, 16}) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
            painter.end();
            images.append(image.convertToFormat(QImage::Format_ARGB32));
        }
        library.append(images);
    }
    const QString out = QString::fromLocal8Bit(argv[3]);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.write(WriteNeIconLibrary(QFileInfo(out).baseName().toUpper(), library)) || !file.commit()) {
        err << "datoria-iclgen: cannot write " << out << '\n';
        return 1;
    }
    std::printf("%s: %d icons\n", argv[3], int(library.size()));
    return 0;
}
