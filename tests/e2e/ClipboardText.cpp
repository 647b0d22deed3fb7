// e2e_clipboard: prints the text of the X clipboard (what the window put there
// with Ctrl+C), so the end-to-end script can read a text field's content.
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication lApplication(argc, argv);
    const QByteArray lText = QGuiApplication::clipboard()->text(QClipboard::Clipboard).toUtf8();
    std::fwrite(lText.constData(), 1, size_t(lText.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}
