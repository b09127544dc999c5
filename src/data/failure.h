#pragma once
// Failures as the operator is told them, and the program's log. A box names
// what went wrong in the program's own words; what the system or an engine
// said about it, and the statement that failed, go to the log only.
#include <QString>
#include <stdexcept>

namespace platform {

// An error the program words itself: text for the operator, detail (the
// system's own words, a file path, a code) for the log.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& text, const QString& detail = QString());
    const QString& text() const { return m_text; }
    const QString& detail() const { return m_detail; }

private:
    QString m_text;
    QString m_detail;
};

// The reason behind a system error number in the operator's words
// ("disk penuh", "tidak ditemukan").
QString SystemErrorText(int err);

// One line (or several) to the log: standard error, and the log file once
// one is named.
void Log(const QString& text);
// The file the log is appended to; "" for standard error alone.
void SetLogFile(const QString& path);
QString LogFile();

} // namespace platform
