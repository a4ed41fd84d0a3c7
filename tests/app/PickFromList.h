#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace mirel::test {

// Picks the entry with this text from the list's pop-up with a mouse click, as a user
// does: the list sends one activated() signal.
inline void pickFromList(QComboBox *list, const QString &text)
{
    const int index = list->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << text.toStdString();
    list->showPopup();
    QAbstractItemView *const view = list->view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    const QModelIndex item = view->model()->index(index, list->modelColumn());
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }));
    ASSERT_EQ(list->currentText(), text);
}

} // namespace mirel::test
