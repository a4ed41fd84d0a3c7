#include "util/Errors.h"

#include <gtest/gtest.h>

using namespace mirel;

TEST(ExceptionReport, DotRule)
{
    EXPECT_EQ(exceptionReportText(u"Connection refused"_qs), u"Connection refused."_qs);
    EXPECT_EQ(exceptionReportText(u"Done."_qs), u"Done."_qs);
    EXPECT_EQ(exceptionReportText(u"HTTP/1.1 404 Not Found"_qs), u"HTTP/1.1 404 Not Found."_qs);
    EXPECT_EQ(exceptionReportText(u"Ends with a comma,"_qs), u"Ends with a comma,"_qs); // "," < "."
    EXPECT_EQ(exceptionReportText(u"Ends with a bang!"_qs), u"Ends with a bang!"_qs);   // "!" < "."
    EXPECT_EQ(exceptionReportText(u"错误"_qs), u"错误."_qs);
    EXPECT_EQ(exceptionReportText(QString()), QString());
}

TEST(FileErrors, NamePathAndReason)
{
    EXPECT_EQ(EFCreateError::forFile(u"/ro/Web/Line.gif"_qs, u"Permission denied"_qs).message(),
              u"Cannot create file \"/ro/Web/Line.gif\". Permission denied"_qs);
}
