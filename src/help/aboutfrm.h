#pragma once
// The About box: a borderless window drawn by the skinned frame, with the logo, the welcome
// and version text, a close box at the top right and the button "关闭".

#include "help/picbuttons.h"
#include "help/xpcanvas.h"
#include "ui/formregistry.h"

#include <QLabel>
#include <QWidget>

namespace about {
// The text block: welcome line, version, two further lines, joined by CR LF with empty
// lines between them.
QString messageText();
} // namespace about

class aboutFrm : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit aboutFrm(QWidget *parent = nullptr);

    void Form_Load() override;
    void Form_Resize();
    void winCloseBtn_Click(int button, int shift, float x, float y);
    void cmd_cancel_Click();

    xp_canvas *canvas = nullptr;
    windowBox *winCloseBtn = nullptr;
    QLabel *img_logo = nullptr;
    QLabel *lbl_msg = nullptr;
    cmdBtn *cmd_cancel = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
};
