#include "app/ClientRequestFields.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

TEST(SetRequestFields, CopiesWhatIsSetAndKeepsTheRest)
{
    THttpClient client;
    client.HandleRedirects = false;
    client.Request.Accept = "a/b";
    client.Request.Connection = "Keep-Alive";
    client.Request.CacheControl = "no-cache";

    RequestFields fields;
    fields.handleRedirects = true;
    fields.accept = "c/d";
    fields.referer = "http://r.test/";
    fields.userAgent = "UA";
    setRequestFields(client, fields);

    EXPECT_TRUE(client.HandleRedirects);
    EXPECT_EQ(client.Request.Accept, "c/d");
    EXPECT_EQ(client.Request.Referer, "http://r.test/");
    EXPECT_EQ(client.Request.UserAgent, "UA");
    EXPECT_EQ(client.Request.Connection, "Keep-Alive");
    EXPECT_EQ(client.Request.CacheControl, "no-cache");
    EXPECT_EQ(client.Request.ContentType, "text/html");

    // An empty value is a value: it clears the field.
    fields = {};
    fields.referer = QByteArray();
    setRequestFields(client, fields);
    EXPECT_TRUE(client.Request.Referer.isEmpty());
    EXPECT_EQ(client.Request.Accept, "c/d");
}

} // namespace
} // namespace mirel
