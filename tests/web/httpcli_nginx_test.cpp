// The client against a real web server: static files, 404, relocations, https.
#include "HttpCliProbe.h"
#include "support/Nginx.h"
#include "support/TempDir.h"
#include "support/TestCertificates.h"

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"

#include <gtest/gtest.h>
#include <sstream>

using lvtest::HttpCliProbe;

namespace {

class HttpCliNginx : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!lvtest::Nginx::Available()) {
            return;
        }
        dir_ = new lvtest::TempDir;
        certs_ = new lvtest::TestCertificates(dir_->Path() / "certs");
        const auto pair = certs_->Localhost();
        const lvtest::Nginx::Tls tls{pair.certFile, pair.keyFile};
        nginx_ = new lvtest::Nginx;
        nginx_->Start("location = /moved { return 301 /b/index.html; }\n"
                      "location = /found { return 302 http://127.0.0.1:{port}/a.htm; }\n"
                      "location = /to-https { return 302 https://localhost:{tlsport}/b/; }\n"
                      "location = /to-http { return 302 http://localhost:{port}/a.htm; }\n",
                      &tls);
        nginx_->WriteDoc("a.htm", "<html>page a</html>\n");
        nginx_->WriteDoc("b/index.html", "<html>index of b</html>\n");
        nginx_->WriteDoc("tool.exe", std::string(70000, '\x01'));
    }
    static void TearDownTestSuite() {
        delete nginx_;
        delete certs_;
        delete dir_;
        nginx_ = nullptr;
    }
    void SetUp() override {
        if (nginx_ == nullptr) {
            GTEST_SKIP() << "nginx is not installed";
        }
        cli.CaFile = certs_->CaFile();
    }

    static std::string Http(const std::string& path) { return nginx_->BaseUrl() + path; }
    static std::string Https(const std::string& host, const std::string& path) {
        return "https://" + host + ":" + std::to_string(nginx_->TlsPort()) + path;
    }

    static lvtest::TempDir* dir_;
    static lvtest::TestCertificates* certs_;
    static lvtest::Nginx* nginx_;

    lv::PollEventLoop loop;
    lv::THttpCli cli{loop};
    HttpCliProbe probe{cli};
};

lvtest::TempDir* HttpCliNginx::dir_ = nullptr;
lvtest::TestCertificates* HttpCliNginx::certs_ = nullptr;
lvtest::Nginx* HttpCliNginx::nginx_ = nullptr;

TEST_F(HttpCliNginx, StaticFileArrivesWholeWithItsHeader) {
    std::ostringstream stream;
    cli.DocumentStream = &stream;
    cli.URL = Http("/a.htm");
    cli.Get();
    EXPECT_EQ(cli.StatusCode(), 200);
    EXPECT_EQ(stream.str(), "<html>page a</html>\n");
    EXPECT_EQ(cli.ContentType(), "text/html");
    EXPECT_EQ(cli.ContentLength(), 20);
    bool lastModified = false;
    for (const auto& line : cli.ResponseHeader()) {
        lastModified = lastModified || line.rfind("Last-Modified: ", 0) == 0;
    }
    EXPECT_TRUE(lastModified);

    // A binary document goes through unchanged, in several blocks.
    std::ostringstream binary;
    cli.DocumentStream = &binary;
    cli.URL = Http("/tool.exe");
    cli.Get();
    EXPECT_EQ(binary.str(), std::string(70000, '\x01'));
    EXPECT_EQ(cli.DocumentFileName(), "tool.exe");
}

TEST_F(HttpCliNginx, MissingFileRaisesNotFound) {
    cli.URL = Http("/nothing-here.htm");
    try {
        cli.Get();
        FAIL() << "no exception";
    } catch (const lv::EHttpException& e) {
        EXPECT_EQ(e.ErrorCode(), 404);
        EXPECT_STREQ(e.what(), "Not Found");
    }
}

TEST_F(HttpCliNginx, RelocationsAreFollowed) {
    struct Case {
        std::string url;
        std::string document;
        std::string address;
    };
    const std::vector<Case> cases = {
        {Http("/moved"), "<html>index of b</html>\n", Http("/b/index.html")},
        {Http("/found"), "<html>page a</html>\n", Http("/a.htm")},
        // http -> https -> (index) and https -> http
        {Http("/to-https"), "<html>index of b</html>\n", Https("localhost", "/b/")},
        {Https("localhost", "/to-http"), "<html>page a</html>\n",
         "http://localhost:" + std::to_string(nginx_->Port()) + "/a.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        probe.document.clear();
        cli.URL = c.url;
        cli.Get();
        EXPECT_EQ(cli.StatusCode(), 200);
        EXPECT_EQ(probe.document, c.document);
        EXPECT_EQ(cli.CurrentAddress(), c.address);
    }
}

TEST_F(HttpCliNginx, HttpsByNameAndByAddress) {
    for (const std::string host : {"localhost", "127.0.0.1"}) {
        probe.document.clear();
        cli.URL = Https(host, "/a.htm");
        cli.Get();
        EXPECT_EQ(probe.document, "<html>page a</html>\n") << host;
    }
}

} // namespace
