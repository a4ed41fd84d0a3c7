#include "net/HttpAddress.h"
#include "net/HttpErrors.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {
HttpAddress parse(const QByteArray &address, const HttpAddress &current = {})
{
    return resolveAddress(address, current);
}
} // namespace

TEST(HttpAddress, SplitsAbsoluteAddress)
{
    const HttpAddress a = parse("http://user:pw@Example.test:8080/dir/sub/page.php?q=a/b#frag");
    EXPECT_EQ(a.protocol, "http");
    EXPECT_EQ(a.username, "user");
    EXPECT_EQ(a.password, "pw");
    EXPECT_EQ(a.host, "Example.test");
    EXPECT_EQ(a.port, "8080");
    EXPECT_EQ(a.path, "/dir/sub/");
    EXPECT_EQ(a.document, "page.php");
    EXPECT_EQ(a.params, "?q=a/b");
    EXPECT_EQ(a.target(), "/dir/sub/page.php?q=a/b");
}

TEST(HttpAddress, DefaultsAndBrackets)
{
    EXPECT_EQ(parse("http://h.test").target(), "/");
    EXPECT_EQ(parse("http://h.test").port, "80");
    EXPECT_EQ(parse("HTTPS://h.test/").port, "443");
    const HttpAddress v6 = parse("http://[::1]:81/x");
    EXPECT_EQ(v6.host, "::1");
    EXPECT_EQ(v6.port, "81");
    EXPECT_EQ(parse("http://h.test?q=1").target(), "/?q=1");
}

TEST(HttpAddress, TargetSentAsGiven)
{
    // Raw bytes, blanks and quotes are not encoded; the fragment up to "?" is dropped.
    EXPECT_EQ(parse("http://h/s?q=\xE4\xB8\xAD \"x\"").target(), "/s?q=\xE4\xB8\xAD \"x\"");
    EXPECT_EQ(parse("http://h/a#frag?q=1").target(), "/a?q=1");
    EXPECT_EQ(parse("http://h/a?q=1#frag").target(), "/a?q=1");
    // Directory path: last "/" before "?", else before "=".
    EXPECT_EQ(parse("http://h/search?q=x/y").path, "/");
    EXPECT_EQ(parse("http://h/a/b=c/d").path, "/a/");
}

TEST(HttpAddress, BackslashesExceptGbkTrailBytes)
{
    EXPECT_EQ(slashesFromBackslashes("http:\\\\h\\a\\b"), "http://h/a/b");
    // 0x81 0x5C is one GBK character whose second byte is a backslash.
    EXPECT_EQ(slashesFromBackslashes("/\x81\\\\x"), "/\x81\\/x");
}

TEST(HttpAddress, RelativeAddressesKeepHostAndResolveDots)
{
    const HttpAddress base = parse("http://h.test:81/a/b/page?x=1");
    const HttpAddress rel = parse("../c/./d?y=2", base);
    EXPECT_EQ(rel.host, "h.test");
    EXPECT_EQ(rel.port, "81");
    EXPECT_EQ(rel.target(), "/a/c/d?y=2");
    EXPECT_EQ(parse("/root/x", base).target(), "/root/x");
    EXPECT_EQ(parse("../../../up", base).target(), "/up");
    EXPECT_EQ(parse("sub/", base).target(), "/a/b/sub/");
    // "://" after the first "/", "?" or "#" is part of a relative address, not a scheme.
    EXPECT_EQ(parse("/go?to=http://x.test/y", base).target(), "/go?to=http://x.test/y");
    EXPECT_EQ(parse("go?to=http://x.test/y", base).target(), "/a/b/go?to=http://x.test/y");
    EXPECT_EQ(parse("#top://x", base).host, "h.test");
    EXPECT_EQ(parse("http://x.test/go?to=http://y.test/").host, "x.test");
}

TEST(HttpAddress, HostLineCarriesThePortUnlessItIs80)
{
    EXPECT_EQ(hostLine(parse("http://h.test/")), "h.test");
    EXPECT_EQ(hostLine(parse("http://h.test:80/")), "h.test");
    EXPECT_EQ(hostLine(parse("http://h.test:8080/")), "h.test:8080");
    EXPECT_EQ(hostLine(parse("http://h.test:080/")), "h.test:080");
    EXPECT_EQ(hostLine(parse("https://h.test/")), "h.test:443");
}

TEST(HttpAddress, UnknownSchemeWithoutPort)
{
    EXPECT_THROW(parse("gopher://h/"), EUnknownProtocol);
    // With an earlier port the scheme's text is taken over and the port kept.
    const HttpAddress kept = parse("gopher://h/", parse("http://x:81/"));
    EXPECT_EQ(kept.port, "81");
}
