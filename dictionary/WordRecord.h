#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace mirel {

// One example sentence pair of a lookup, page HTML fragments in GBK.
struct ExamplePair
{
    QByteArray english;
    QByteArray chinese;
};

// The tagged word record: "<WORD>…</WORD><PHONETIC>…</PHONETIC><TRANSLATE>…</TRANSLATE>"
// and one group per example. Every field is GBK except the phonetic, which keeps the
// UTF-8 bytes of the page.
struct WordRecord
{
    QByteArray word;
    QByteArray phonetic;
    QByteArray translate;
    QList<ExamplePair> examples;
};

// The record as one string. A Chinese lookup writes each group Chinese sentence first
// ("<IMAGESCN n>…<IMAGESEN n>…"), a foreign one English first.
QByteArray composeWordRecord(const WordRecord &record, bool chineseFirst);

// Takes a record apart: each field lies between the first occurrence of its opening tag
// and the first closing tag after it; a missing pair gives the empty field. Only the
// first three example groups are read, and there are always three (empty when missing).
WordRecord parseWordRecord(QByteArrayView record);

} // namespace mirel
