// Reads the results a site's search page shows. It runs in a world of the program's own, which the
// page's scripts can neither see nor change, and it only reads: it sends nothing and loads nothing.
// The program appends the site's reading rule (CSS selectors) as the argument.
(function (rule) {
    'use strict';
    const MaxResults = 100;
    const MaxText = 500;
    const MaxAddress = 2000;
    const MaxJsonText = 4 * 1024 * 1024;
    const LengthPattern = /\b(?:\d{1,2}:)?\d{1,2}:\d{2}\b/;

    // Counts the page's changes, so that the program can tell when a page that draws its results
    // after the load has settled.
    const state = window.reelhopReader || (window.reelhopReader = {changes: 0});
    if (!state.observer && document.documentElement) {
        state.observer = new MutationObserver(records => { state.changes += records.length; });
        state.observer.observe(document.documentElement,
                               {childList: true, subtree: true, characterData: true});
    }

    const clip = (value, limit) => String(value || '').replace(/\s+/g, ' ').trim().slice(0, limit);
    const textOf = element => {
        if (!element)
            return '';
        const text = clip(element.textContent, MaxText);
        if (text)
            return text;
        for (const name of ['data-value', 'datetime', 'aria-label', 'title', 'content'])
            if (element.getAttribute(name))
                return clip(element.getAttribute(name), MaxText);
        return '';
    };
    // Parts a site shows side by side ("1.2M views", "3 years ago") with no text between them.
    const partsOf = element => {
        if (!element || element.children.length < 2 ||
            Array.from(element.childNodes).some(n => n.nodeType === Node.TEXT_NODE && n.textContent.trim()))
            return textOf(element);
        return clip(Array.from(element.children).map(textOf).filter(Boolean).join(' · '), MaxText);
    };
    const query = (root, selector) => {
        try { return selector ? root.querySelector(selector) : null; } catch (e) { return null; }
    };
    const queryAll = (root, selector) => {
        try { return Array.from(root.querySelectorAll(selector)); } catch (e) { return []; }
    };
    const absolute = address => {
        try { return new URL(String(address || ''), document.baseURI).href; } catch (e) { return ''; }
    };
    // Where the page comes from: its own address, or the one a saved page was saved from.
    const pageAddress = (() => {
        try { return new URL(rule.page || location.href); } catch (e) { return new URL(location.href); }
    })();
    const webAddress = address => /^https?:/i.test(address) && address.length <= MaxAddress;

    const linkElementOf = element => element
        ? (element.closest('a[href]') || element.querySelector('a[href]')) : null;
    const linkOf = element => {
        const link = linkElementOf(element);
        return link ? absolute(link.getAttribute('href')) : '';
    };

    // The real picture of a lazily loaded thumbnail rather than its placeholder.
    const imageOf = element => {
        const image = !element ? null : element.tagName === 'IMG' ? element : element.querySelector('img');
        if (!image)
            return '';
        const candidates = [image.currentSrc, image.getAttribute('src')];
        for (const name of ['data-src', 'data-thumb', 'data-original', 'data-lazy-src', 'data-thumbnail'])
            candidates.push(image.getAttribute(name));
        for (const name of ['srcset', 'data-srcset']) {
            const set = image.getAttribute(name);
            if (set)
                candidates.push(set.trim().split(/\s+/)[0]);
        }
        const addresses = candidates.filter(Boolean).map(absolute);
        return addresses.find(webAddress) || addresses.find(a => /^data:image\//i.test(a)) || '';
    };

    // The block's words apart, as they are drawn: "Clip 1" beside "1:01" is no "11:01".
    const wordsOf = block => {
        const words = [];
        const texts = document.createTreeWalker(block, NodeFilter.SHOW_TEXT);
        for (let node; (node = texts.nextNode()) && words.length < 400;)
            words.push(node.textContent);
        return clip(words.join(' '), 4 * MaxText);
    };
    const lengthOf = block => {
        const marked = queryAll(block, '[class*="duration"], [class*="length"], [class*="time"], time');
        for (const element of marked) {
            const found = textOf(element).match(LengthPattern) || [];
            if (found[0])
                return found[0];
        }
        return (wordsOf(block).match(LengthPattern) || [''])[0];
    };
    const authorOf = block => textOf(query(block,
        '[itemprop="author"], [rel="author"], [class*="author"], [class*="channel"], ' +
        '[class*="uploader"], [class*="owner"], [class*="byline"]'));
    const metaOf = block => partsOf(query(block,
        '[class*="meta"], [class*="views"], [class*="date"], [class*="stats"], [class*="info"]'));
    const titleOf = (block, link) => {
        for (const source of [link && link.getAttribute('title'), link && link.getAttribute('aria-label')])
            if (source && clip(source, MaxText))
                return clip(source, MaxText);
        return textOf(query(block, 'h1, h2, h3, h4, h5, [class*="title"]')) || textOf(link) ||
            clip((query(block, 'img[alt]') || {alt: ''}).alt, MaxText);
    };

    // One result from its block: each field from the rule's selector where it has one, else by
    // the usual marks of a results page.
    const describe = (block, selectors, knownLink) => {
        const linkElement = knownLink || (selectors.link ? linkElementOf(query(block, selectors.link))
                                                         : linkElementOf(block));
        const pick = (key, guess) => {
            if (!selectors[key])
                return guess();
            const element = query(block, selectors[key]);
            return key === 'image' ? imageOf(element) : key === 'meta' ? partsOf(element) : textOf(element);
        };
        return {
            title: pick('title', () => titleOf(block, linkElement)),
            link: linkElement ? absolute(linkElement.getAttribute('href')) : '',
            image: pick('image', () => imageOf(block)),
            length: pick('length', () => lengthOf(block)),
            author: pick('author', () => authorOf(block)),
            meta: pick('meta', () => metaOf(block)),
        };
    };
    const usable = result => result.title && webAddress(result.link);

    // Which video a link leads to. Of a path's query, the parameter that every link to that path
    // on the page carries and that takes the most values names a video ("v" of "/watch?v=..."):
    // the others (a time offset, a tracking token, a playlist) say something about it, so
    // chapters, "key moments" and a video shown again lead to their video.
    const TimeParameters = new Set(['t', 'start', 'time_continue']);
    const videoKeys = links => {
        const byPath = new Map();
        const urls = new Map();
        for (const link of links) {
            let url;
            try { url = new URL(link.getAttribute('href'), document.baseURI); } catch (e) { continue; }
            if (!/^https?:$/.test(url.protocol))
                continue;
            urls.set(link, url);
            const path = url.origin + url.pathname;
            const counts = byPath.get(path) || {links: 0, values: new Map()};
            counts.links += 1;
            for (const name of new Set(url.searchParams.keys())) {
                const values = counts.values.get(name) || {links: 0, distinct: new Set()};
                values.links += 1;
                values.distinct.add(url.searchParams.get(name));
                counts.values.set(name, values);
            }
            byPath.set(path, counts);
        }
        for (const counts of byPath.values()) {
            const everywhere = Array.from(counts.values).filter(([name, values]) =>
                values.links === counts.links && !TimeParameters.has(name));
            const most = Math.max(0, ...everywhere.map(([, values]) => values.distinct.size));
            counts.naming = everywhere.filter(([, values]) => values.distinct.size === most)
                .map(([name]) => name).sort();
        }
        const keys = new Map();
        const kinds = new Map();
        for (const [link, url] of urls) {
            const path = url.origin + url.pathname;
            const naming = byPath.get(path).naming;
            keys.set(link, path + '?' + naming.map(name => name + '=' + url.searchParams.get(name)).join('&'));
            // The kind of page: its path with the names in it left out ("/watch?v", "/shorts/*",
            // "/channel/*"), which tells a site's videos from its channels.
            const segments = url.pathname.split('/');
            kinds.set(link, url.origin + segments.map((segment, index) =>
                index === segments.length - 1 || /\d/.test(segment) ? '*' : segment).join('/') +
                '?' + naming.join('&'));
        }
        return {keys: keys, kinds: kinds};
    };
    // The address a result's link gives without the time it starts at.
    const fromTheStart = href => {
        if (!href)
            return '';
        try {
            const url = new URL(href, document.baseURI);
            url.hash = '';
            for (const name of TimeParameters)
                url.searchParams.delete(name);
            return url.href;
        } catch (e) { return ''; }
    };

    // Around each video's link, the largest block that leads to no other video: a result, with
    // its picture, its title, its channel and its chapters. A video shown again later is one
    // result, the first; a block inside another is a part of it.
    const blocksAround = keys => {
        const blocks = new Map();
        const taken = new Set();
        for (const [link, key] of keys) {
            let block = link;
            const leadsElsewhere = element => {
                const inside = element.getElementsByTagName('a');
                for (let i = 0, other; (other = inside[i]); ++i) {
                    const otherKey = keys.get(other);
                    if (otherKey !== undefined && otherKey !== key)
                        return true;
                }
                return false;
            };
            while (block.parentElement && block.parentElement !== document.body &&
                   !leadsElsewhere(block.parentElement))
                block = block.parentElement;
            if (!blocks.has(block))
                blocks.set(block, {key: key, link: link});
        }
        const results = [];
        for (const [block, found] of blocks) {
            let outer = block.parentElement;
            while (outer && !blocks.has(outer))
                outer = outer.parentElement;
            if (outer || taken.has(found.key))
                continue;
            taken.add(found.key);
            // The link that starts the video at its beginning, else any of its links.
            const own = Array.from(block.getElementsByTagName('a')).filter(a => keys.get(a) === found.key);
            found.link = own.find(a => fromTheStart(a.getAttribute('href')) ===
                                       absolute(a.getAttribute('href')).split('#')[0]) || own[0] || found.link;
            results.push({block: block, link: found.link});
        }
        return results;
    };
    const describeAround = selectors => ({block, link}) => {
        const result = describe(block, selectors, link);
        result.link = fromTheStart(result.link);
        return result;
    };

    // Each result with the block it was read from.
    const readByRule = selectors => {
        const items = selectors.item ? queryAll(document, selectors.item) : [];
        const linked = selectors.link ? queryAll(document, selectors.link).map(linkElementOf).filter(Boolean) : [];
        const keys = videoKeys(linked).keys;
        let found;
        // A renamed or moved wrapper matches fewer results than the links do, or one around all.
        const bypassed = !items.length || items.length < new Set(keys.values()).size;
        if (!bypassed) {
            // A video the page shows again further down is one result, the first.
            found = items.slice(0, 4 * MaxResults).map(item => {
                const result = describe(item, selectors);
                return {block: item, result: Object.assign(result, {link: fromTheStart(result.link)})};
            }).filter(({result}) => usable(result));
            const anchors = found.map(({result}) => Object.assign(document.createElement('a'), {href: result.link}));
            const itemKeys = videoKeys(anchors).keys;
            const seen = new Set();
            found = found.filter(({result}, index) => {
                const key = itemKeys.get(anchors[index]) || result.link;
                return !seen.has(key) && seen.add(key);
            });
        } else {
            found = blocksAround(keys).slice(0, 4 * MaxResults)
                .map(around => ({block: around.block, result: describeAround(selectors)(around)}))
                .filter(({result}) => usable(result));
        }
        return {bypassed: bypassed, found: found.slice(0, MaxResults)};
    };

    // A page that carries its results as data: schema.org video objects or a page's JSON state.
    const readData = () => {
        const named = (value, keys) => {
            for (const key of keys) {
                let found = value[key];
                if (Array.isArray(found))
                    found = found[0];
                if (found && typeof found === 'object')
                    found = found.url || found.src || found.name || found.title || found.text || '';
                if (typeof found === 'string' || typeof found === 'number')
                    return clip(found, MaxText);
            }
            return '';
        };
        const videoOf = value => {
            if (!value || typeof value !== 'object' || Array.isArray(value))
                return null;
            if (value.item && typeof value.item === 'object')
                value = value.item;
            const result = {
                title: named(value, ['title', 'name', 'headline']),
                link: absolute(named(value, ['url', 'link', 'href', 'watchUrl', 'contentUrl'])),
                image: absolute(named(value, ['thumbnailUrl', 'thumbnail', 'thumb', 'image', 'poster'])),
                length: named(value, ['duration', 'length', 'lengthSeconds', 'durationString']),
                author: named(value, ['author', 'channel', 'channelName', 'uploader', 'owner', 'creator']),
                meta: [named(value, ['views', 'viewCount', 'interactionCount']),
                       named(value, ['uploadDate', 'publishedAt', 'published', 'date'])]
                          .filter(Boolean).join(' · '),
            };
            return usable(result) && (result.image || result.length) ? result : null;
        };
        let best = [];
        let visits = 0;
        const walk = (value, depth) => {
            if (!value || typeof value !== 'object' || depth > 16 || ++visits > 100000)
                return;
            const children = Array.isArray(value) ? value : Object.values(value);
            if (Array.isArray(value)) {
                const videos = value.map(videoOf).filter(Boolean);
                if (videos.length >= 3 && videos.length > best.length)
                    best = videos;
            }
            for (const child of children)
                walk(child, depth + 1);
        };
        for (const script of queryAll(document,
                                      'script[type="application/ld+json"], script[type="application/json"]')) {
            if (script.textContent.length > MaxJsonText)
                continue;
            try { walk(JSON.parse(script.textContent), 0); } catch (e) { /* not data after all */ }
        }
        return best.slice(0, MaxResults);
    };

    // A page without a rule: the results are the largest group of repeated blocks of one shape,
    // each around a link with a picture to a video of the same site, outside the menus, the
    // footer and anything marked as an ad.
    const readByShape = () => {
        const siteOf = host => host.split('.').slice(-2).join('.');
        const here = siteOf(pageAddress.hostname);
        const page = pageAddress.href.split('#')[0];
        const outside = 'nav, header, footer, aside, [role="navigation"], [role="banner"], ' +
                        '[role="contentinfo"], [role="complementary"]';
        // Ads by their element's name, id or class ("ad-slot", "sponsored", "promoted-video"),
        // their data-ad attributes, a badge that says so, or a link to an ad service.
        const adWords = /(^|[\s_-])(ad|ads|advert\w*|sponsor\w*|promo\w*|banner)([\s_-]|$)/i;
        const adBadge = /^(ad|ads|sponsored|promoted|anzeige|annonce|publicité|patrocinado|広告|スポンサー)$/i;
        const adHosts = /(^|\.)(googleadservices\.com|doubleclick\.net|googlesyndication\.com|amazon-adsystem\.com|adnxs\.com|taboola\.com|outbrain\.com)$/i;
        const isMarkedAd = element => {
            const classes = typeof element.className === 'string' ? element.className : '';
            return adWords.test(element.localName) || adWords.test(element.id) || adWords.test(classes) ||
                Array.from(element.attributes).some(a => /^data-ad([-_]|$)/i.test(a.name));
        };
        // Whether the element or one above it is a menu, a footer or an ad; each element is
        // looked at once, however many links it holds.
        const excludedAbove = new Map();
        const excluded = element => {
            if (!element || element === document.body || element === document.documentElement)
                return false;
            if (!excludedAbove.has(element))
                excludedAbove.set(element, element.matches(outside) || isMarkedAd(element) ||
                                               excluded(element.parentElement));
            return excludedAbove.get(element);
        };
        const isAd = block => {
            for (const link of block.getElementsByTagName('a')) {
                try { if (adHosts.test(new URL(link.href).hostname)) return true; } catch (e) { /* no host */ }
            }
            const texts = document.createTreeWalker(block, NodeFilter.SHOW_TEXT);
            for (let node; (node = texts.nextNode());) {
                if (adBadge.test(node.textContent.trim()))
                    return true;
            }
            return false;
        };

        // From each picture drawn as large as a thumbnail (icons mark menus, not videos) to the
        // link it belongs to. A picture that did not load is drawn at no telling size: the
        // size its page gives it tells.
        const linkOf = image => {
            for (let e = image; e && e !== document.body; e = e.parentElement) {
                const link = e.tagName === 'A' && e.hasAttribute('href') ? e : e.querySelector('a[href]');
                if (link)
                    return link;
            }
            return null;
        };
        const pictured = new Set();
        for (let i = 0, image; (image = document.images[i]); ++i) {
            const width = image.naturalWidth ? image.getBoundingClientRect().width
                                             : Number(image.getAttribute('width')) || 0;
            const link = width && width < 40 ? null : linkOf(image);
            if (!link || pictured.has(link) || excluded(link))
                continue;
            let url;
            try { url = new URL(link.href); } catch (e) { continue; }
            if (/^https?:$/.test(url.protocol) && siteOf(url.hostname) === here &&
                link.href.split('#')[0] !== page)
                pictured.add(link);
        }
        const shapeOf = block => [block.tagName, ...Array.from(block.classList).sort(),
                                  block.parentElement ? block.parentElement.tagName : ''].join('.');
        // Videos, channels, playlists and shorts are kinds of page of their own: the blocks of
        // each kind are grouped by their shape, and the best group of all is the results.
        const {keys, kinds} = videoKeys(pictured);
        const groups = new Map();
        for (const kind of new Set(kinds.values())) {
            const ofKind = new Map(Array.from(keys).filter(([link]) => kinds.get(link) === kind));
            if (new Set(ofKind.values()).size < 3)
                continue;
            for (const found of blocksAround(ofKind)) {
                // A block without words (a picture link, an icon) is no result; one that shows a
                // length is all the likelier a video.
                const words = found.block.textContent.trim() ||
                              (query(found.block, 'img[alt]') || {}).alt || found.link.title;
                if (!words || excluded(found.block) || isAd(found.block))
                    continue;
                const shape = kind + ' ' + shapeOf(found.block);
                const group = groups.get(shape) || {kind: kind, found: [], score: 0};
                group.found.push(found);
                group.score += lengthOf(found.block) ? 2 : 1;
                groups.set(shape, group);
            }
        }
        let best = null;
        for (const group of groups.values())
            if (group.found.length >= 3 && (!best || group.score > best.score))
                best = group;
        if (!best)
            return [];
        // The same blocks in another list of the page (a later shelf) are results too.
        const sameBlock = (one, other) => one.tagName === other.tagName &&
            (one.classList.length === 0 ? other.classList.length === 0
                                        : Array.from(one.classList).some(name => other.classList.contains(name)));
        const found = [];
        for (const group of groups.values())
            if (group.kind === best.kind && sameBlock(group.found[0].block, best.found[0].block))
                found.push(...group.found);
        found.sort((one, other) =>
            one.block.compareDocumentPosition(other.block) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1);
        return found.slice(0, MaxResults).map(describeAround({})).filter(usable);
    };

    // Where the user points, when teaching the program a site: the result around that place,
    // found as the reader by shape finds results. A click also derives the rule that reads that
    // result and every one like it, and reads the page by it. The marks are what the rule reads
    // (or, for a pointer that only moves, the result under it), as places in the page's window.
    const pickAt = point => {
        const markOf = element => {
            const r = element.getBoundingClientRect();
            return [r.left, r.top, r.width, r.height];
        };
        const at = document.elementFromPoint(point.x, point.y);
        const links = queryAll(document, 'a[href]').filter(a => webAddress(absolute(a.getAttribute('href'))));
        const {keys, kinds} = videoKeys(links);
        const videosOf = new Map();
        for (const [link, kind] of kinds)
            videosOf.set(kind, (videosOf.get(kind) || new Set()).add(keys.get(link)));
        const videos = link => keys.has(link) ? videosOf.get(kinds.get(link)).size : 0;
        // Of the links around the place, one of the kind of page with the most videos.
        let link = null;
        for (let e = at; e && e !== document.documentElement && !link; e = e.parentElement) {
            const near = (e.tagName === 'A' ? [e] : []).concat(Array.from(e.getElementsByTagName('a')))
                .filter(a => videos(a) >= 3).sort((one, other) => videos(other) - videos(one));
            link = near[0] || null;
        }
        if (!link)
            return {marks: []};
        const kind = kinds.get(link);
        const around = blocksAround(new Map(Array.from(keys).filter(([a]) => kinds.get(a) === kind)));
        const mine = around.find(found => found.block.contains(link)) ||
                     around.find(found => keys.get(found.link) === keys.get(link));
        if (!mine || !point.clicked)
            return {marks: mine ? [markOf(mine.block)] : []};

        // A selector for an element that picks out the like ones of the other results: its id,
        // a class or a naming attribute it shares with them, else its tag; never a name with
        // digits, which pages number their results by.
        const selectorsFor = element => {
            const tag = CSS.escape(element.localName);
            const found = [];
            if (element.id && !/\d/.test(element.id))
                found.push(tag + '#' + CSS.escape(element.id));
            for (const name of element.classList)
                if (!/\d/.test(name))
                    found.push(tag + '.' + CSS.escape(name));
            for (const name of ['jsname', 'itemprop', 'role', 'data-testid'])
                if (element.hasAttribute(name) && !/\d/.test(element.getAttribute(name)))
                    found.push(`${tag}[${name}="${CSS.escape(element.getAttribute(name))}"]`);
            return found.concat([tag]);
        };
        const share = test => around.filter(test).length / around.length;
        // The block alone, or as a child of its parent, which keeps out the like blocks of a
        // menu or an ad's shelf.
        const parent = mine.block.parentElement;
        const ownSelectors = selectorsFor(mine.block);
        const itemSelectors = ownSelectors.concat(parent && parent !== document.body
            ? selectorsFor(parent).flatMap(outer => ownSelectors.map(inner => outer + ' > ' + inner)) : []);
        const item = itemSelectors.find(selector => {
            const matched = new Set(queryAll(document, selector));
            return share(found => matched.has(found.block)) >= 0.8 && matched.size <= 1.5 * around.length;
        }) || '';
        const itemCount = item ? queryAll(document, item).length : around.length;
        // Inside the item, so that the links elsewhere on the page do not count as results.
        const linkSelector = selectorsFor(mine.link).map(selector => item ? item + ' ' + selector : selector)
            .find(selector => share(found => {
                const own = linkElementOf(query(found.block, selector));
                return own && keys.get(own) === keys.get(found.link);
            }) >= 0.8 && new Set(queryAll(document, selector).map(linkElementOf).map(a => keys.get(a))).size <= itemCount) || '';
        const guessed = describe(mine.block, {}, mine.link);
        const partSelector = value => {
            if (!value)
                return '';
            const holding = Array.from(mine.block.querySelectorAll('*')).filter(e => textOf(e) === value);
            for (const element of holding.reverse()) {
                const selector = selectorsFor(element).find(selector =>
                    textOf(query(mine.block, selector)) === value &&
                    share(found => textOf(query(found.block, selector))) >= 0.6);
                if (selector)
                    return selector;
            }
            return '';
        };
        const derived = {item: item, link: linkSelector, title: partSelector(guessed.title),
                         image: '', length: partSelector(guessed.length),
                         author: partSelector(guessed.author), meta: ''};
        const read = readByRule(derived);
        return {rule: derived, how: 'rule', itemBypassed: read.bypassed && !!derived.item,
                changes: state.changes, results: read.found.map(({result}) => result),
                marks: read.found.map(({block}) => markOf(block))};
    };
    if (rule.pick)
        return pickAt(rule.pick);

    let how = '';
    let results = [];
    let bypassed = false;
    if ((rule.item || rule.link) && !rule.shapeOnly) {
        const read = readByRule(rule);
        results = read.found.map(({result}) => result);
        bypassed = read.bypassed && !!rule.item && results.length > 0;
        how = results.length ? 'rule' : '';
    }
    if (!results.length && !rule.shapeOnly) {
        results = readData();
        how = results.length ? 'data' : '';
    }
    if (!results.length) {
        results = readByShape();
        how = results.length ? 'shape' : '';
    }
    return {changes: state.changes, how: how, itemBypassed: bypassed, results: results};
})
