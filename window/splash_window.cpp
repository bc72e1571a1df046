#include "splash_window.h"

// Dialog mode is recognised; the window itself is not built yet.
void SplashWindow::SetButtonCaption(int, WStr) {}
void SplashWindow::SetButtonLeft(int, int) {}
void SplashWindow::SetButtonVisible(int, bool) {}
void SplashWindow::SetBackColor(const BackColor&) {}
void SplashWindow::SetPicture(WStr, const ValueOrigin&) {}
void SplashWindow::SetIcon(WStr, const ValueOrigin&) {}
void SplashWindow::SetCaption(WStr) {}

int SplashWindow::Run(FrmSplash& form) { form.FormUnload(); }
