#pragma once
// A window of the program. It sees every key before its focused control
// (key preview), turns a close request into hiding while the program is not
// closing, and runs its activation handler each time it is shown and again
// when a modal window opened over it closes.
#include <QDialog>

namespace platform {

class Form : public QDialog {
    Q_OBJECT
public:
    Form(const QString& name, const QString& caption, QWidget* parent = nullptr);
    ~Form() override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& t) { setWindowTitle(t); }
    QString Tag;
    bool KeyPreview = true;

    // Shows the window modally; returns once it is hidden again. The window
    // that was active before is activated again afterwards.
    void ShowModal();
    // Shows the window without blocking (the main window).
    void Show();
    void Hide();
    // A close request, as the close box gives it. Returns true when the
    // window unloaded (only while the program is closing).
    bool Unload();
    bool isUnloaded() const { return m_unloaded; }
    // Moves the focus to the next control in tab order, as Enter does in
    // the fields of the windows.
    void SendTab();
    // Runs the activation handler at an event boundary.
    void Activate();

    virtual void Form_Activate() {}
    virtual void Form_KeyDown(int& KeyCode, int Shift)
    {
        (void)KeyCode;
        (void)Shift;
    }
    // Cancel = true keeps the window. The default: while the program is not
    // closing, the close is refused and the window's own close action runs.
    virtual void Form_QueryUnload(bool& Cancel);
    // The window's close button (reset, hide); the default only hides.
    virtual void CloseAction() { Hide(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    bool m_activatePending = false;
    bool m_unloaded = false;
};

} // namespace platform
