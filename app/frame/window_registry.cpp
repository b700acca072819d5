#include "window_registry.h"

#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace WindowRegistry {
namespace {

QHash<QString, Maker> &makers() {
    static QHash<QString, Maker> all;
    return all;
}

Opener &opener() {
    static Opener current;
    return current;
}

}  // namespace

void define(const QString &name, Maker make) { makers().insert(name, std::move(make)); }

void setOpener(Opener open) { opener() = std::move(open); }

QWidget *make(const QString &name, QWidget *parent) {
    const auto it = makers().constFind(name);
    return it == makers().constEnd() ? nullptr : (*it)(parent);
}

QWidget *open(const QString &name) { return opener() ? opener()(name) : nullptr; }

void openModal(const QString &name, QWidget *parent) {
    QPointer<QWidget> window = make(name, parent);
    if (!window) return;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    // The window deletes itself when it closes; the loop ends with it.
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    if (window) loop.exec();
}

}  // namespace WindowRegistry
