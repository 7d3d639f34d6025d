// etibarix-cli code128, end to end through the built executable.

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using etibarix::test::runCli;

namespace {

struct CliCase {
    QStringList args;
    int exitCode;
    QByteArray out;
};

TEST(CliCode128, PrintsStartSetValuesCheckAndWidth)
{
    const CliCase cases[] = {
        {{QStringLiteral("12345")}, 0, "C\t12 34 100 21\t54\t79\n"},
        {{QStringLiteral("Hello World")}, 0, "B\t40 69 76 76 79 0 55 79 82 76 68\t43\t156\n"},
        {{QString()}, 0, "A\t\t0\t35\n"},
        // Optimized symbols do not depend on the code set.
        {{QStringLiteral("ABC"), QStringLiteral("--codeset"), QStringLiteral("C")}, 0, "A\t33 34 35\t0\t68\n"},
        {{QStringLiteral("ABC"), QStringLiteral("--codeset"), QStringLiteral("C"), QStringLiteral("--no-optimize")},
         0, "C\t100 33 34 35\t101\t79\n"},
        {{QStringLiteral("--no-optimize"), QStringLiteral("123456"), QStringLiteral("--codeset"), QStringLiteral("b")},
         0, "B\t17 18 19 20 21 22\t16\t101\n"},
        // Accented letters are dropped; "ñ" is the byte 0xF1, FNC1.
        {{QStringLiteral("\u00C9x\u00E9")}, 0, "B\t88\t89\t46\n"},
        {{QStringLiteral("\u00F1") + QStringLiteral("0123456789")}, 0, "C\t102 1 23 45 67 89\t91\t101\n"},
        // Characters outside Windows-1252 cannot be in a label: refused.
        {{QStringLiteral("A\u4E2DB")}, 2, ""},
        // Usage errors.
        {{}, 2, ""},
        {{QStringLiteral("A"), QStringLiteral("B")}, 2, ""},
        {{QStringLiteral("A"), QStringLiteral("--codeset"), QStringLiteral("D")}, 2, ""},
        {{QStringLiteral("A"), QStringLiteral("--codeset")}, 2, ""},
    };
    for (const CliCase &c : cases) {
        const auto r = runCli(QStringList{QStringLiteral("code128")} + c.args);
        const std::string label = c.args.join(u'|').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << label << " " << r.err.constData();
        EXPECT_EQ(r.out, c.out) << label;
        if (c.exitCode != 0) {
            EXPECT_TRUE(r.err.contains("etibarix-cli: ")) << label;
        }
    }
}

} // namespace
