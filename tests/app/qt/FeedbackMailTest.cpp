#include <gtest/gtest.h>

#include <QUrl>
#include <QUrlQuery>

#include "app/CFeedbackMail.h"

// The URL a mail client receives decodes back to the exact subject, text and
// recipient, whatever characters they hold.
TEST(FeedbackMail, UrlCarriesTheMessageExactly) {
    const QUrl parsed(QString::fromStdString(CFeedbackMail::Url()), QUrl::StrictMode);
    ASSERT_TRUE(parsed.isValid()) << parsed.errorString().toStdString();
    EXPECT_EQ(parsed.scheme(), "mailto");
    EXPECT_EQ(parsed.path(), kFeedbackAddress);
    const QUrlQuery query(parsed);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), kFeedbackSubject);
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded), kFeedbackText);

    // '&', '=', '+', '%', '#' and non-ASCII text would otherwise break the query.
    EXPECT_EQ(CFeedbackMail::PercentEncode("a&b=c+d%e#f g\xc3\xa4-._~"),
              "a%26b%3Dc%2Bd%25e%23f%20g%C3%A4-._~");
}
