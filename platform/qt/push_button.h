#pragma once
// A push button of the toolkit (a text with button frame and RelVerify
// input). A press, a release over the button and a release elsewhere each
// become an input record; the model decides what they mean.
#include <intuition/classusr.h>

#include <QPushButton>

namespace platform::qt {

class PushButton : public QPushButton {
  public:
    PushButton(Object *object, const QString &text, QWidget *parent);

  protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    void LetGo(bool overButton);

    Object *object_;
    bool armed_ = false; // a press was sent and its release not yet
};

} // namespace platform::qt
