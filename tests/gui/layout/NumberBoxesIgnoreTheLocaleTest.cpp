// Number boxes read digits alike under every locale: a German one groups thousands with '.'.
#include "core/controller/CommandChannel.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/PointTracer.h"
#include "core/layout/VirtualPointPresenter.h"
#include "core/support/FakePorts.h"
#include "gui/layout/CVirtualPointSettingDlg.h"

#include <QLineEdit>
#include <QLocale>
#include <QValidator>

#include <gtest/gtest.h>

namespace md {
namespace {

class NoPrompts final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons, const std::u16string&, const std::u16string&) override
    {
        return PromptAnswer::Ok;
    }
};

TEST(NumberBoxesIgnoreTheLocaleTest, TheVirtualPointCountTakesDigitsOnly)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LayoutModel model;
    CommandChannel channel;
    test::KeyTexts texts;
    NoPrompts prompter;
    PointTracer tracer{model, channel, texts, prompter};
    CVirtualPointSettingDlg dialog(tracer);
    QLocale::setDefault(previous);

    auto* number = dialog.findChild<QLineEdit*>(QString::number(VirtualPointPresenter::kNumberId));
    ASSERT_TRUE(number && number->validator());
    for (QString text : {"1.000", "1,000", "-1", "65536"}) {
        int position = 0;
        EXPECT_NE(number->validator()->validate(text, position), QValidator::Acceptable)
            << qPrintable(text);
    }
    QString plain = "1000";
    int position = 0;
    EXPECT_EQ(number->validator()->validate(plain, position), QValidator::Acceptable);
}

} // namespace
} // namespace md
