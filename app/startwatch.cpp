#include "startwatch.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

struct Report
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// A message handler is a plain function: what it holds back has to be where it can reach it.
QtMessageHandler previousHandler = nullptr;
QList<Report> heldReports;

void holdBack(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldReports.append({type, QByteArray(context.category), text});
        return;
    }
    // Why the platform could not start is in what Qt's platform code reported just before.
    QStringList causes;
    for (const Report &report : std::as_const(heldReports))
        if (report.category.startsWith("qt.qpa"))
            causes.append(report.text);
    const QString cause = causes.isEmpty() ? text : causes.join(QStringLiteral("; "));
    std::fprintf(stderr, "numerillo: la grafica non parte: %s\n", qUtf8Printable(cause));
    std::fflush(stderr);
    // Returning would let Qt abort; half-built, it has nothing to clean up that the system does
    // not.
    std::_Exit(1);
}

} // namespace

StartWatch::StartWatch()
{
    previousHandler = qInstallMessageHandler(holdBack);
}

StartWatch::~StartWatch()
{
    started();
}

void StartWatch::started()
{
    if (!m_watching)
        return;
    m_watching = false;
    qInstallMessageHandler(previousHandler);
    for (const Report &report : std::as_const(heldReports)) {
        const QMessageLogContext context(nullptr, 0, nullptr, report.category.constData());
        qt_message_output(report.type, context, report.text);
    }
    heldReports.clear();
}
