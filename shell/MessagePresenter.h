#pragma once

#include <QString>

class QWidget;

namespace mirel {

enum MessageBoxIcon { mbiInformation, mbiQuestion, mbiWarning, mbiError };
enum MessageBoxButtons { mbbOk, mbbYesNo };

// The identifier of the button that closed a box; mbaNone when no box could be shown.
enum MessageBoxAnswer : int { mbaNone = 0, mbaOk = 1, mbaYes = 6, mbaNo = 7 };

struct MessageBoxRequest
{
    QString text;
    QString caption;
    MessageBoxIcon icon = mbiInformation;
    MessageBoxButtons buttons = mbbOk;
    QWidget *owner = nullptr; // the window the box belongs to; none for the application
};

// Shows modal message boxes. The program uses WidgetMessagePresenter; tests put a
// recording presenter in its place so that nothing blocks on a modal box.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual MessageBoxAnswer present(const MessageBoxRequest &request) = 0;
};

} // namespace mirel
