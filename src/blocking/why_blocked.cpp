#include "why_blocked.h"

#include <QCoreApplication>

namespace WhyBlocked {

Answer ask(const QList<FilterLists::ListFile> &lists, const QString &address, const QString &page,
           const QString &type)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("WhyBlocked", text);
    };
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.host().isEmpty())
        return {tr("not a web address: %1").arg(address), false};
    const std::optional<Blocking::RequestType> requestType =
        Blocking::requestTypeNamed(type.toLower().toLatin1());
    if (!requestType)
        return {tr("unknown request type: %1").arg(type), false};
    const FilterLists::Loaded loaded = FilterLists::load(lists);
    QStringList failures;
    for (const FilterLists::ListReport &report : loaded.reports)
        if (!report.failure.isEmpty())
            failures.append(tr("%1 skipped: %2").arg(report.file.path, report.failure));
    if (!failures.isEmpty() && failures.size() == loaded.reports.size())
        return {failures.join(u'\n'), false};

    const QUrl from = page.isEmpty() ? QUrl() : QUrl::fromUserInput(page);
    const Blocking::Decision decision =
        loaded.filters->decide(Blocking::Request::make(url, from, *requestType));
    const QString rule = tr("%1 (%2)").arg(QString::fromUtf8(decision.rule), decision.list);
    // Where the request goes instead, when anywhere.
    const QString instead =
        !decision.resource.isEmpty()
            ? tr(", answered with %1").arg(QString::fromUtf8(decision.resource))
        : !decision.withoutParameters.isEmpty()
            ? tr(", sent as %1").arg(QString::fromUtf8(decision.withoutParameters))
            : QString();
    switch (decision.outcome) {
    case Blocking::Decision::Outcome::Blocked:
        return {tr("blocked by %1").arg(rule) + instead};
    case Blocking::Decision::Outcome::Allowed:
        return {tr("allowed by %1").arg(rule) + instead};
    case Blocking::Decision::Outcome::NoRule:
        break;
    }
    return {instead.isEmpty() ? tr("no rule") : tr("parameters taken off by %1").arg(rule) + instead};
}

} // namespace WhyBlocked
