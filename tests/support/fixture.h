#pragma once
// The window fixture: the data fixture's program folder, the application
// object on it with a scripted backend, and the started program.
#include "core/app.h"
#include "support/datafixture.h"
#include "support/testbackend.h"

#include <memory>

class fMain;

class Fixture : public DataFixture {
public:
    // files: the program folder's files to copy from the build's program
    // folder; empty copies all of them.
    explicit Fixture(const QStringList& files = QStringList(), bool start = true);
    ~Fixture() override;

    void start();
    // Logs in through the login panel.
    void login(const QString& entry, const QString& user, const QString& password);
    // What the program has logged so far (standard error aside).
    QString log() const;

    std::unique_ptr<App> app;
    TestBackend* ui = nullptr;
    fMain* main = nullptr;

protected:
    // The login panel lists the new entries.
    void entriesChanged() override;
};
