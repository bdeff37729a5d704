#include "filter_set.h"

#include "files/data_file.h"
#include "list_conditions.h"
#include "pattern_match.h"
#include "public_suffix.h"

#include <algorithm>
#include <limits>

namespace Blocking {

namespace {

// The rule's line as written without its "badfilter" option: the line of the rule it cancels.
QByteArray withoutBadfilter(QByteArrayView line)
{
    const qsizetype optionsAt = line.lastIndexOf('$');
    QByteArrayList options = line.sliced(optionsAt + 1).toByteArray().split(',');
    options.removeIf([](const QByteArray &option) {
        return option.trimmed().compare("badfilter", Qt::CaseInsensitive) == 0;
    });
    return options.isEmpty() ? line.first(optionsAt).toByteArray()
                             : line.first(optionsAt + 1).toByteArray() + options.join(',');
}

// Where a rule without a token of its own is filed by a site it names for its pages; a key no
// token's hash shares often (a shared one only costs a rule tried in vain).
quint32 pageDomainKey(size_t nameHash)
{
    return quint32(nameHash << 1) | 1;
}

// The query of an encoded address, without its '?', and where it ends.
std::pair<QByteArrayView, qsizetype> queryOf(QByteArrayView address)
{
    const qsizetype query = address.indexOf('?');
    if (query < 0)
        return {{}, address.size()};
    const qsizetype fragment = address.indexOf('#', query);
    const qsizetype end = fragment < 0 ? address.size() : fragment;
    return {address.sliced(query + 1, end - query - 1), end};
}

QByteArrayView nameOf(QByteArrayView pair)
{
    const qsizetype equals = pair.indexOf('=');
    return equals < 0 ? pair : pair.first(equals);
}

// The encoded address without the query parameters named, or without its query when `all`.
QByteArray withoutParameters(const QByteArray &address, const QList<QByteArray> &names, bool all)
{
    const auto [query, end] = queryOf(address);
    QByteArrayList kept;
    if (!all)
        for (const QByteArray &pair : query.toByteArray().split('&'))
            if (!names.contains(nameOf(pair)))
                kept.append(pair);
    const qsizetype questionMark = end - query.size() - 1;
    return address.first(questionMark) + (kept.isEmpty() ? QByteArray() : '?' + kept.join('&')) +
           address.sliced(end);
}

} // namespace

void FilterSet::useScriptlets(std::shared_ptr<const ScriptletLibrary> library)
{
    m_library = std::move(library);
}

ListCount FilterSet::addList(const QString &name, QByteArrayView text, bool trusted)
{
    const int list = int(m_lists.size());
    m_lists.append(name);
    const size_t firstEntry = m_network.size();
    const qsizetype cancelledBefore = m_cancelled.size();
    ListCount count;
    ListConditions conditions;
    for (QByteArrayView line : DataFile::lines(DataFile::withoutByteOrderMark(text))) {
        if (!conditions.admits(line))
            continue;
        ParsedLine parsed = parseLine(line);
        if (auto *skipped = std::get_if<SkippedRule>(&parsed)) {
            ++count.skipped;
            ++count.skippedFor[skipped->reason];
        } else if (auto *rule = std::get_if<NetworkRule>(&parsed)) {
            ++count.rules;
            const QByteArrayView written = line.trimmed();
            if (rule->badfilter) {
                m_cancelled.insert(withoutBadfilter(written));
                continue;
            }
            const bool modifies = rule->action != NetworkRule::Action::Block;
            if (rule->action == NetworkRule::Action::RemoveParameter)
                m_removalTypes |= rule->types;
            else if (modifies || !rule->value().isEmpty())
                m_redirectTypes |= rule->types;
            Index &chosen = rule->action == NetworkRule::Action::RemoveParameter ? m_removals
                            : modifies                                           ? m_redirects
                            : rule->exception                                    ? m_exceptions
                                                                                 : m_blocks;
            // "redirect=" also names the resource for a request another rule blocks.
            if (!modifies && !rule->value().isEmpty()) {
                NetworkRule redirect = *rule;
                redirect.action = NetworkRule::Action::Redirect;
                index({std::move(redirect), written.toByteArray(), list}, m_redirects);
            }
            index({std::move(*rule), written.toByteArray(), list}, chosen);
        } else if (auto *scriptlet = std::get_if<ScriptletRule>(&parsed)) {
            if (const QByteArray skipped = addScriptlet(std::move(*scriptlet), trusted);
                !skipped.isEmpty()) {
                ++count.skipped;
                ++count.skippedFor[skipped];
            } else {
                ++count.rules;
            }
        } else if (auto *hiding = std::get_if<HidingRule>(&parsed)) {
            ++count.rules;
            const int at = int(m_hiding.size());
            if (hiding->exception) {
                m_hidingExceptions[hiding->selector].push_back(at);
                if (hiding->domains.included.isEmpty())
                    m_hidingExceptionsByHost[{}].push_back(at);
                for (const QByteArray &host : hiding->domains.included)
                    m_hidingExceptionsByHost[host].push_back(at);
            } else if (hiding->domains.isEmpty() && m_hidingByName->add(hiding->selector)) {
                continue; // kept by its name, out of every page's sheet
            } else if (hiding->domains.included.isEmpty()) {
                m_genericHiding.push_back(at);
            } else {
                for (const QByteArray &host : hiding->domains.included)
                    m_specificHiding[host].push_back(at);
            }
            m_hiding.push_back(std::move(*hiding));
        }
    }
    // A list's "badfilter" rules cancel rules of the lists before it too.
    if (!m_cancelled.isEmpty())
        cancel(m_cancelled.size() > cancelledBefore ? 0 : firstEntry);
    return count;
}

QByteArray FilterSet::addScriptlet(ScriptletRule rule, bool trusted)
{
    Scriptlet scriptlet{rule.call.isEmpty() ? ScriptletLibrary::Call()
                                            : ScriptletLibrary::parseCall(rule.call),
                        std::move(rule.domains)};
    if (rule.exception) {
        m_scriptletExceptions.push_back(std::move(scriptlet));
        return {};
    }
    if (!m_library || m_library->isEmpty())
        return "+js() without the package";
    switch (m_library->availability(scriptlet.call.name, trusted)) {
    case ScriptletLibrary::Availability::Missing:
        return "+js() the package lacks";
    case ScriptletLibrary::Availability::NeedsTrust:
        return "+js() only the package's lists may use";
    case ScriptletLibrary::Availability::Available:
        break;
    }
    const int at = int(m_scriptlets.size());
    if (scriptlet.domains.included.isEmpty())
        m_genericScriptlets.push_back(at);
    else
        for (const QByteArray &host : scriptlet.domains.included)
            m_specificScriptlets[host].push_back(at);
    m_scriptlets.push_back(std::move(scriptlet));
    return {};
}

QList<ScriptletLibrary::Call> FilterSet::scriptletsFor(const QUrl &frame) const
{
    const std::uint8_t excuses = pageExcuses(frame);
    if (m_scriptlets.empty() || excuses & (NetworkRule::WholePage | NetworkRule::ElementHiding))
        return {};
    const QByteArray host = frame.host(QUrl::FullyEncoded).toLower().toUtf8();
    std::vector<int> chosen;
    for (const QByteArray &domain : namesOf(host))
        for (int at : m_specificScriptlets.value(domain))
            chosen.push_back(at);
    if (!(excuses & NetworkRule::GenericHiding))
        chosen.insert(chosen.end(), m_genericScriptlets.cbegin(), m_genericScriptlets.cend());
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    QList<ScriptletLibrary::Call> calls;
    for (int at : chosen) {
        const Scriptlet &scriptlet = m_scriptlets[size_t(at)];
        const bool excepted = std::any_of(
            m_scriptletExceptions.cbegin(), m_scriptletExceptions.cend(),
            [&](const Scriptlet &exception) {
                return (exception.call.name.isEmpty() || exception.call == scriptlet.call) &&
                       exception.domains.covers(host);
            });
        if (scriptlet.domains.covers(host) && !excepted && !calls.contains(scriptlet.call))
            calls.append(scriptlet.call);
    }
    return calls;
}

void FilterSet::cancel(size_t from)
{
    for (size_t at = from; at < m_network.size(); ++at)
        m_network[at].cancelled = m_cancelled.contains(m_network[at].text);
}

void FilterSet::index(Entry entry, Index &index)
{
    // The rule goes under its token that the fewest rules share, and not under one that most
    // addresses hold, so that no request has many rules to try. A token after a '*' comes next to
    // last: a rule filed under it looks through the whole address, which a long one makes dear.
    PatternToken chosen{NoToken, false, -1};
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    for (const PatternToken &token : patternTokens(entry.rule)) {
        const auto bucket = index.constFind(token.hash);
        const qsizetype size = (bucket == index.cend() ? 0 : qsizetype(bucket->rules.size())) +
                               (token.common ? 100000 : 0) + (token.at < 0 ? 1000 : 0);
        if (size < fewest) {
            fewest = size;
            chosen = token;
        }
    }
    // A rule with no token of its own that names the sites of its pages is tried only on them.
    if (chosen.hash == NoToken && !entry.rule.domains.included.isEmpty()) {
        entry.tokenAt = -1;
        for (const QByteArray &domain : entry.rule.domains.included)
            index[pageDomainKey(qHash(QByteArrayView(domain), Request::PageNameSeed))]
                .rules.push_back(int(m_network.size()));
        m_network.push_back(std::move(entry));
        return;
    }
    Bucket &bucket = index[chosen.hash];
    if (chosen.hash != NoToken) {
        if (entry.rule.start != NetworkRule::Start::Anywhere && chosen.at >= 0)
            m_known.addNearStart(chosen.hash, chosen.at);
        else
            m_known.add(chosen.hash);
        if (chosen.at >= 0) {
            const Reach reach = reachAround(entry.rule, chosen.at);
            bucket.reach.before = std::max(bucket.reach.before, reach.before);
            bucket.reach.after = std::max(bucket.reach.after, reach.after);
            m_farthestReach.before = std::max(m_farthestReach.before, reach.before);
            m_farthestReach.after = std::max(m_farthestReach.after, reach.after);
        }
    }
    entry.tokenAt = chosen.at;
    bucket.rules.push_back(int(m_network.size()));
    m_network.push_back(std::move(entry));
}

TokenPlaces FilterSet::placesIn(const Request &request) const
{
    return TokenPlaces(request.lowerAddress, m_known,
                       {request.address, m_farthestReach.before, m_farthestReach.after,
                        request.hostStart + request.host.size()});
}

template <typename Wanted, typename Found>
void FilterSet::forEachMatch(const Index &index, const Request &request, const TokenPlaces &places,
                             Wanted wanted, Found found) const
{
    const auto tryRules = [&](const Bucket &bucket, std::span<const qsizetype> at) {
        for (int rule : bucket.rules) {
            const Entry &entry = m_network[size_t(rule)];
            if (wanted(entry) &&
                (entry.tokenAt < 0 ? patternMatches(entry.rule, request)
                                   : patternMatchesAt(entry.rule, request, entry.tokenAt, at)) &&
                found(entry))
                return true;
        }
        return false;
    };
    const auto tokenless = index.constFind(NoToken);
    if (tokenless != index.cend() && tryRules(*tokenless, {}))
        return;
    for (size_t name : request.pageNameHashes()) {
        const auto bucket = index.constFind(pageDomainKey(name));
        if (bucket != index.cend() && tryRules(*bucket, {}))
            return;
    }
    // Each token once; a surrounding the address repeats is looked at once.
    const qsizetype hostEnd = request.hostStart + request.host.size();
    for (const TokenPlaces::Token &token : places.tokens()) {
        const auto bucket = index.constFind(token.hash);
        if (bucket == index.cend())
            continue;
        const auto distinct =
            distinctSurroundings(places.places(token), request.address, bucket->reach.before,
                                 bucket->reach.after, hostEnd);
        if (tryRules(*bucket, distinct))
            return;
    }
}

const FilterSet::Entry *FilterSet::firstMatch(const Index &index, const Request &request,
                                              const TokenPlaces &places) const
{
    // The first rule that matches, unless an important one does.
    const Entry *first = nullptr;
    forEachMatch(
        index, request, places,
        [&](const Entry &entry) {
            return (!first || entry.rule.important) && !entry.cancelled &&
                   appliesTo(entry.rule, request);
        },
        [&](const Entry &entry) {
            first = &entry;
            return entry.rule.important;
        });
    return first;
}

Decision FilterSet::decide(const Request &request) const
{
    const TokenPlaces places = placesIn(request);
    const Entry *block = firstMatch(m_blocks, request, places);
    Decision decision;
    if (block) {
        const Entry *excuse =
            block->rule.important ? nullptr : firstMatch(m_exceptions, request, places);
        if (!excuse)
            return {Decision::Outcome::Blocked,
                    block->text,
                    m_lists.value(block->list),
                    resourceFor(*block, request, places),
                    {}};
        decision = {Decision::Outcome::Allowed, excuse->text, m_lists.value(excuse->list), {}, {}};
    }
    takeParametersOff(decision, request, places);
    return decision;
}

QByteArray FilterSet::resourceFor(const Entry &block, const Request &request,
                                  const TokenPlaces &places) const
{
    QByteArray resource = block.rule.value();
    if (!(m_redirectTypes & TypeMask(request.type)))
        return resource;
    const Modifiers redirects = modifiers(m_redirects, request, places);
    if (resource.isEmpty() && !redirects.applied.empty())
        resource = redirects.applied.front()->rule.value();
    // An exception naming no resource takes back every one.
    return redirects.excused.contains(resource) || redirects.excused.contains(QByteArray())
               ? QByteArray()
               : resource;
}

FilterSet::Modifiers FilterSet::modifiers(const Index &index, const Request &request,
                                          const TokenPlaces &places) const
{
    Modifiers found;
    forEachMatch(
        index, request, places,
        [&](const Entry &entry) { return !entry.cancelled && appliesTo(entry.rule, request); },
        [&](const Entry &entry) {
            if (entry.rule.exception)
                found.excused.append(entry.rule.value());
            else
                found.applied.push_back(&entry);
            return false;
        });
    return found;
}

void FilterSet::takeParametersOff(Decision &decision, const Request &request,
                                  const TokenPlaces &places) const
{
    if (!(m_removalTypes & TypeMask(request.type)) || !request.address.contains('?'))
        return;
    const auto [removals, excused] = modifiers(m_removals, request, places);
    if (excused.contains(QByteArray()))
        return;
    // The parameters there are, looked at once whatever the number of rules.
    QList<QByteArrayView> present;
    const QByteArrayView query = queryOf(request.address).first;
    for (qsizetype at = 0; at <= query.size();) {
        qsizetype end = query.indexOf('&', at);
        end = end < 0 ? query.size() : end;
        present.append(nameOf(query.sliced(at, end - at)));
        at = end + 1;
    }
    const Entry *first = nullptr;
    QList<QByteArray> names;
    bool all = false;
    for (const Entry *removal : removals) {
        const QByteArray &name = removal->rule.value();
        if (excused.contains(name) || !(name.isEmpty() || present.contains(name)))
            continue;
        first = first ? first : removal;
        all = all || name.isEmpty();
        names.append(name);
    }
    if (!first)
        return;
    decision.withoutParameters = withoutParameters(request.address, names, all);
    if (decision.outcome == Decision::Outcome::NoRule) {
        decision.rule = first->text;
        decision.list = m_lists.value(first->list);
    }
}

std::uint8_t FilterSet::pageExcuses(const QUrl &page) const
{
    const Request request = Request::make(page, page, RequestType::Document);
    std::uint8_t excuses = NetworkRule::NoPage;
    forEachMatch(
        m_exceptions, request, placesIn(request),
        [&](const Entry &entry) {
            // Asked of the page, whatever the rule's own types.
            return entry.rule.excuses != NetworkRule::NoPage && !entry.cancelled &&
                   appliesTo(entry.rule, request, TypesAsked::Any);
        },
        [&](const Entry &entry) {
            excuses |= entry.rule.excuses;
            return false;
        });
    return excuses;
}

PageHiding FilterSet::hiding(const QUrl &page) const
{
    const std::uint8_t excuses = pageExcuses(page);
    if (excuses & (NetworkRule::WholePage | NetworkRule::ElementHiding))
        return {};
    const QByteArray host = page.host(QUrl::FullyEncoded).toLower().toUtf8();
    std::vector<int> chosen;
    for (const QByteArray &domain : namesOf(host))
        for (int at : m_specificHiding.value(domain))
            if (m_hiding[size_t(at)].domains.covers(host))
                chosen.push_back(at);
    if (!(excuses & NetworkRule::GenericHiding))
        for (int at : m_genericHiding)
            if (m_hiding[size_t(at)].domains.covers(host))
                chosen.push_back(at);

    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    QByteArray css;
    for (int at : chosen) {
        const HidingRule &rule = m_hiding[size_t(at)];
        bool excused = false;
        for (int exception : m_hidingExceptions.value(rule.selector))
            excused = excused || m_hiding[size_t(exception)].domains.covers(host);
        if (!excused)
            css += rule.selector + "{display:none!important}\n";
    }
    PageHiding hiding{css, {}};
    if (excuses & NetworkRule::GenericHiding || m_hidingByName->isEmpty())
        return hiding;
    QSet<QByteArray> excepted;
    const auto except = [&](const QByteArray &domain) {
        for (int at : m_hidingExceptionsByHost.value(domain)) {
            const HidingRule &exception = m_hiding[size_t(at)];
            if (exception.domains.covers(host) && m_hidingByName->holds(exception.selector))
                excepted.insert(exception.selector);
        }
    };
    except({});
    for (const QByteArray &domain : namesOf(host))
        except(domain);
    // The page's own: lists read again later make a set of their own.
    hiding.byName = [byName = std::shared_ptr<const HidingByName>(m_hidingByName),
                     excepted](const QStringList &keys) { return byName->rulesFor(keys, excepted); };
    return hiding;
}

} // namespace Blocking
