#pragma once

#include <QByteArray>

namespace mirel {

// Base addresses ("http://host" or "http://host:port", no trailing slash) of every
// outside site the program talks to. Paths, queries and markers live with their users.
struct Sites
{
    QByteArray google;          // Google translation site for China, form at "/"
    QByteArray baiduRelay;      // the relay page of Baidu translation, "/trans.php"
    QByteArray relayHome;       // the relay operator's home address (credit line)
    QByteArray baiduDictHome;   // Baidu dictionary home, sent as Referer with no path
    QByteArray youdaoTranslate; // NetEase Youdao translation, "/translate"
    QByteArray yahoo;           // Yahoo China translation, "/translate_txt"
    QByteArray dictionary;      // Youdao dictionary, "/search"
    QByteArray vendor;          // the vendor's site: ad page, vendor page, update list
    QByteArray tts;             // text-to-speech, "/translate_tts"

    // The table chosen at configure time (MIREL_SITES and MIREL_SITE_*). With the local
    // profile, MIREL_SITES_PORT (set by mirel-launch, which starts the user's own site
    // server on a port of the system's choosing) moves the local sites to that port.
    static Sites configured();
    // Every site at http://127.0.0.1:<port>.
    static Sites local(quint16 port);

    // This table with every site at `base` moved to http://127.0.0.1:<port>; unchanged
    // unless `port` is a decimal number from 1 to 65535.
    Sites movedToPort(const QByteArray &base, const QByteArray &port) const;

    QByteArray vendorAdPage() const { return vendor + "/ad/201072928_1.html"; }
    QByteArray vendorPage() const { return vendor + "/201072928.html"; }
    QByteArray updateList() const { return vendor + "/SiteBack/updateTxt/28.txt"; }
};

} // namespace mirel
