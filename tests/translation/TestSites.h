#pragma once

#include "config/Sites.h"

// A host table with a distinct address per site, so a mixed-up address shows.
inline mirel::Sites testSites()
{
    mirel::Sites s;
    s.google = "http://google.test";
    s.baiduRelay = "http://relay.test:8080";
    s.relayHome = "http://www.relay.test";
    s.baiduDictHome = "http://dict.baidu.test";
    s.youdaoTranslate = "http://fanyi.youdao.test";
    s.yahoo = "http://fanyi.yahoo.test";
    s.dictionary = "http://dict.youdao.test";
    s.vendor = "http://vendor.test";
    s.tts = "http://tts.test";
    return s;
}
