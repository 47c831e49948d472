#pragma once

class QUrl;
class QWidget;

namespace platform {

/**
 * True when this computer has a web browser to show a web page: one named by $BROWSER, a browser program on
 * the path, or the desktop's handler of web links.
 */
bool WebBrowserAvailable();

/**
 * Shows a web page in the browser. Without a browser, or when it cannot be started, an information box gives
 * the page's address instead, so the user knows where to find it.
 */
void OpenWebPage(QWidget* parent, const QUrl& url);

} // namespace platform
