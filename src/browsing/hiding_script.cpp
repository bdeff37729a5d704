#include "hiding_script.h"

#include "hiding_names.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace {

// Qt's client of a page's channel, from the channel's own library.
QString channelClient()
{
    QFile file(u":/qtwebchannel/qwebchannel.js"_s);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

QString hidingScript(const PageHiding &hiding)
{
    static const QString client = channelClient();
    const QString data =
        QString::fromUtf8(QJsonDocument(QJsonArray{QString::fromUtf8(hiding.styleSheet),
                                                   bool(hiding.byName) && !client.isEmpty()})
                              .toJson(QJsonDocument::Compact));
    // Each name is asked about once, one question at a time; the elements a page adds or
    // renames are looked at as they come.
    return uR"((function () {
%1
  const [css, byName] = %2;
  const texts = [css, ''];
  const styles = [null, null];
  const place = () => {
    if (!document.documentElement) return;
    for (let at = 0; at < 2; ++at) {
      if (!texts[at] || (styles[at] && styles[at].isConnected)) continue;
      styles[at] = document.createElement('style');
      styles[at].textContent = texts[at];
      (document.head || document.documentElement).appendChild(styles[at]);
    }
  };
  let look = () => {};
  if (byName && typeof qt === 'object' && qt.webChannelTransport) {
    const seen = new Set();
    const waiting = [];
    let hider = null;
    let asking = false;
    const ask = () => {
      if (!hider || asking || !waiting.length) return;
      asking = true;
      hider.rulesFor(waiting.splice(0, %3), (rules) => {
        asking = false;
        if (rules) {
          texts[1] += rules;
          if (styles[1]) styles[1].textContent = texts[1];
          place();
        }
        ask();
      });
    };
    new QWebChannel(qt.webChannelTransport, (channel) => {
      hider = channel.objects.hider;
      ask();
    });
    const hit = (key) => {
      if (seen.has(key) || seen.size >= %4) return;
      seen.add(key);
      waiting.push(key);
    };
    const scan = (element) => {
      if (element.id) hit('#' + element.id);
      if (element.classList) for (const name of element.classList) hit('.' + name);
    };
    look = (records) => {
      for (const record of records) {
        if (record.type === 'attributes') {
          scan(record.target);
          continue;
        }
        for (const node of record.addedNodes) {
          if (node.nodeType !== Node.ELEMENT_NODE) continue;
          scan(node);
          for (const element of node.querySelectorAll('[id],[class]')) scan(element);
        }
      }
      ask();
    };
  }
  const watched = {childList: true, subtree: true};
  if (byName) Object.assign(watched, {attributes: true, attributeFilter: ['id', 'class']});
  new MutationObserver((records) => {
    look(records);
    place();
  }).observe(document, watched);
  if (document.documentElement) look([{type: 'childList', addedNodes: [document.documentElement]}]);
  place();
})();)"_s.arg(client, data, QString::number(HidingNames::MostKeysAQuestion),
              QString::number(HidingNames::MostKeysAPage));
}
