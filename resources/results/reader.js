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

    const lengthOf = block => {
        const marked = queryAll(block, '[class*="duration"], [class*="length"], [class*="time"], time');
        for (const element of marked) {
            const found = textOf(element).match(LengthPattern) || [];
            if (found[0])
                return found[0];
        }
        return (clip(block.textContent, 4 * MaxText).match(LengthPattern) || [''])[0];
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
    const describe = (block, selectors) => {
        const linkElement = selectors.link ? linkElementOf(query(block, selectors.link))
                                           : linkElementOf(block);
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

    const readByRule = () => queryAll(document, rule.item).slice(0, 4 * MaxResults)
        .map(item => describe(item, rule)).filter(usable).slice(0, MaxResults);

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

    // A page without a rule: the results are the largest set of repeated blocks of one shape,
    // each a link to a page of the same site with a picture, outside the menus, the footer and
    // anything marked as an ad.
    const readByShape = () => {
        const siteOf = host => host.split('.').slice(-2).join('.');
        const here = siteOf(location.hostname);
        const page = location.href.split('#')[0];
        const outside = 'nav, header, footer, aside, [role="navigation"], [role="banner"], ' +
                        '[role="contentinfo"], [role="complementary"]';
        const adWords = /(^|[\s_-])(ad|ads|advert\w*|sponsor\w*|promo\w*|banner)([\s_-]|$)/i;
        // Whether the element or one above it is a menu, a footer or an ad; each element is
        // looked at once, however many links it holds.
        const excludedAbove = new Map();
        const excluded = element => {
            if (!element || element === document.body || element === document.documentElement)
                return false;
            if (!excludedAbove.has(element)) {
                const classes = typeof element.className === 'string' ? element.className : '';
                excludedAbove.set(element, element.matches(outside) || adWords.test(element.id) ||
                                               adWords.test(classes) || element.hasAttribute('data-ad') ||
                                               excluded(element.parentElement));
            }
            return excludedAbove.get(element);
        };
        const target = link => link.href.split('#')[0];
        // Walked lazily: a block among thousands of links is told apart at its second one.
        const onlyTarget = (element, address) => {
            const links = element.getElementsByTagName('a');
            for (let i = 0, link; (link = links[i]); ++i) {
                if (link.hasAttribute('href') && target(link) !== address)
                    return false;
            }
            return true;
        };

        // From each picture drawn as large as a thumbnail (icons mark menus, not videos) to the
        // link it belongs to, then out to the largest block that links nowhere else.
        const linkOf = image => {
            for (let e = image; e && e !== document.body; e = e.parentElement) {
                const link = e.tagName === 'A' && e.hasAttribute('href') ? e : e.querySelector('a[href]');
                if (link)
                    return link;
            }
            return null;
        };
        const blocks = new Map();
        for (let i = 0, image; (image = document.images[i]); ++i) {
            const drawnWidth = image.getBoundingClientRect().width;
            const link = drawnWidth && drawnWidth < 40 ? null : linkOf(image);
            if (!link)
                continue;
            let url;
            try { url = new URL(link.href); } catch (e) { continue; }
            const address = target(link);
            if (!/^https?:$/.test(url.protocol) || siteOf(url.hostname) !== here || address === page)
                continue;
            let block = link.contains(image) ? link : image;
            while (block.parentElement && block.parentElement !== document.body &&
                   onlyTarget(block.parentElement, address))
                block = block.parentElement;
            if (!blocks.has(block) && !excluded(link))
                blocks.set(block, link);
        }
        const shapeOf = block => [block.tagName, ...Array.from(block.classList).sort(),
                                  block.parentElement ? block.parentElement.tagName : ''].join('.');
        const groups = new Map();
        for (const block of blocks.keys()) {
            const shape = shapeOf(block);
            const group = groups.get(shape) || {blocks: [], score: 0};
            group.blocks.push(block);
            // A block without words (a picture link, an icon) is no result; one that shows a
            // length is all the likelier a video.
            const words = block.textContent.trim() || (query(block, 'img[alt]') || {}).alt ||
                          blocks.get(block).title;
            if (words)
                group.score += LengthPattern.test(block.textContent) ? 2 : 1;
            groups.set(shape, group);
        }
        let best = {blocks: [], score: 0};
        for (const group of groups.values())
            if (group.blocks.length >= 3 && group.score > best.score)
                best = group;
        return best.blocks.slice(0, MaxResults).map(block => describe(block, {})).filter(usable);
    };

    let how = '';
    let results = [];
    if (rule.item) {
        results = readByRule();
        how = results.length ? 'rule' : '';
    }
    if (!results.length) {
        results = readData();
        how = results.length ? 'data' : '';
    }
    if (!results.length) {
        results = readByShape();
        how = results.length ? 'shape' : '';
    }
    return {changes: state.changes, how: how, results: results};
})
