// CString: MSVC-style formatting (wide %s), CString arguments, buffers and the editing members' edge cases.
#include <gtest/gtest.h>

#include "QMfc.h"
#include "TestIds.h"

TEST(CStringFormat, KeepsMsvcSemanticsForTheFormatsInUse)
{
    struct Case {
        const wchar_t* expected;
        CString actual;
    };
    auto fmt = [](auto... args) {
        CString s;
        s.Format(args...);
        return s;
    };
    const Case cases[] = {
        {L"wide|5", fmt(L"%s|%d", L"wide", 5)},  // %s is a wide string, not narrow
        {L"1.50M", fmt(L"%.2fM", 1.5)},
        {L"50%", fmt(L"%d%%", 50)},
        {L"  3.1MB", fmt(L"%5.1fMB", 3.14159)},
        {L"0.25 MB", fmt(L"%.2f MB", 0.25)},
        {L"-7", fmt(L"%ld", -7L)},
        {L"3 files", fmt(L"%d %s", 3, L"files")},
        {L"   (12)", fmt(L"   (%d)", 12)},
        {L"9.50 KB", fmt(L"%.2f KB", 9.5)},
        {L"narrow", fmt(L"%S", "narrow")},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.expected, (LPCWSTR)c.actual);
}

TEST(CStringFormat, AcceptsCStringArgumentsAndLongResults)
{
    CString name(L"page"), s;
    s.Format(L"<%s:%s>", name, CString(L"tmp") + L"2");
    EXPECT_EQ(CString(L"<page:tmp2>"), s);

    CString longText(L'x', 5000);
    s.Format(L"[%s]", longText);
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(L']', s[s.GetLength() - 1]);

    s.AppendFormat(L"%d", 42);
    EXPECT_EQ(CString(L"42"), s.Right(2));

    CStringA a;
    a.Format("%s=%d", "n", 1);
    EXPECT_STREQ("n=1", a);
}

TEST(CStringEdit, EdgeCasesOfSearchAndSlicing)
{
    CString s(L"alpha.beta.txt");
    EXPECT_EQ(5, s.Find(L'.'));
    EXPECT_EQ(10, s.Find(L'.', 6));
    EXPECT_EQ(-1, s.Find(L'.', 100));
    EXPECT_EQ(6, s.Find(L"beta"));
    EXPECT_EQ(-1, s.Find(L"beta", 7));
    EXPECT_EQ(-1, s.Find(L"x", -1));
    EXPECT_EQ(10, s.ReverseFind(L'.'));
    EXPECT_EQ(CString(L"txt"), s.Mid(11));
    EXPECT_EQ(CString(L""), s.Mid(50));
    EXPECT_EQ(CString(L"alpha.beta.txt"), s.Mid(-3));
    EXPECT_EQ(CString(L"be"), s.Mid(6, 2));
    EXPECT_EQ(CString(L"alpha.beta.txt"), s.Left(99));
    EXPECT_EQ(CString(L""), s.Right(-1));

    CString r(L"a--b--c");
    EXPECT_EQ(2, r.Replace(L"--", L"-+-"));
    EXPECT_EQ(CString(L"a-+-b-+-c"), r);
    EXPECT_EQ(2, r.Remove(L'+'));
    EXPECT_EQ(0, r.Replace(L"", L"x"));

    CString t(L" \t text \r\n");
    EXPECT_EQ(CString(L"text"), t.Trim());
    CString u(L"xxabcxx");
    EXPECT_EQ(CString(L"abc"), u.Trim(L'x'));

    EXPECT_EQ(0, CString(L"ABC").CompareNoCase(L"abc"));
    EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
    EXPECT_EQ(CString(L"MIXED"), CString(L"MiXeD").MakeUpper());

    CString list(L"a;;b;c"), tok;
    int pos = 0;
    CString parts;
    while (!(tok = list.Tokenize(L";", pos)).IsEmpty()) parts += tok + L"|";
    EXPECT_EQ(CString(L"a|b|c|"), parts);
}

TEST(CStringBuffer, ReleaseBufferTakesTheTextUpToNul)
{
    CString s(L"old");
    wchar_t* p = s.GetBuffer(MAX_PATH);
    wcscpy(p, L"C:\\some\\path");
    s.ReleaseBuffer();
    EXPECT_EQ(CString(L"C:\\some\\path"), s);
    EXPECT_EQ(12, s.GetLength());

    p = s.GetBuffer(0);
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(CString(L"C:"), s);
}

TEST(CStringConvert, NarrowAndWideRoundTripAndResources)
{
    CString w("narrow text");
    EXPECT_EQ(CString(L"narrow text"), w);
    CStringA a(w);
    EXPECT_STREQ("narrow text", a);
    CString loaded;
    ASSERT_TRUE(loaded.LoadString(IDS_TEST_TEXT));
    EXPECT_EQ(CString(L"Loaded from the string table"), loaded);
    EXPECT_FALSE(loaded.LoadString(9999));
}
