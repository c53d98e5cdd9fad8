#pragma once
// A tiny program for tests that writes the arguments it was started with, NUL-separated,
// into a log file next to it. Installed into the system folder of a temporary machine root,
// where the platform looks for programs first.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include "platform/machine.h"

namespace trawlex::testing {

class RecordingProgram {
  public:
    // `name` is the program's name in the system folder; its log is "<name>.log". It ends
    // with `exitCode` once the log is written.
    explicit RecordingProgram(const QString& name, int exitCode = 0)
        : path_(QString::fromStdString(platform::GetSystemDir()) + "/" + name),
          log_(path_ + ".log") {
        QFile::remove(log_);
        QFile script(path_);
        if (script.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"" +
                         log_.toUtf8() + ".part\"\nmv \"" + log_.toUtf8() + ".part\" \"" +
                         log_.toUtf8() + "\"\nexit " + QByteArray::number(exitCode) + "\n");
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        }
    }
    ~RecordingProgram() {
        QFile::remove(path_);
        QFile::remove(log_);
    }

    bool Ran() const { return QFile::exists(log_); }

    // The arguments after the program's own name, as it received them.
    QStringList Arguments() const {
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList args;
        for (const QByteArray& arg : file.readAll().split('\0')) args << QString::fromUtf8(arg);
        if (!args.isEmpty()) args.removeLast();  // after the last NUL
        return args;
    }

  private:
    QString path_;
    QString log_;
};

}  // namespace trawlex::testing
