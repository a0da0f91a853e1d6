"""The update check of dist/Wordlark.exe under Wine against a stand-in server
of the test's own on 127.0.0.1 ("UpdateServerURL" points at it): what the
update window shows for a newer version, the same version and a broken
answer; an oversized and a silent answer end the check while the tray window
keeps answering. (When a check is due, which versions are skipped, how the
query is escaped and which servers are refused are the update check's tests'.)"""

import http.server
import threading
import time
import urllib.parse

import harness

TITLE = "Wordlark - Check For Updates"
WM_CLOSE = "0x10"
QUERY_KEYS = ["wlk_version", "winver", "sounds", "version_installed", "hotkey", "au",
              "LangFile", "languages", "country", "domain", "RAM", "screen", "MFC"]
CANNOT_LOAD = "ERROR: Cannot load information from official web-site"
CANNOT_PARSE = "ERROR: Cannot parse information file"


def version_document(version, download="https://example.com/setup.exe",
                     portable="http://insecure.example/portable.zip"):
    return ('<?xml version="1.0" encoding="UTF-8"?>\r\n<WordlarkVersionInfo>'
            f'<Version>{version}</Version><Status>A fresh release</Status>'
            f'<DownloadURL>{download}</DownloadURL><DownloadURL_PE>{portable}</DownloadURL_PE>'
            '<WhatNewsURL>https://example.com/news</WhatNewsURL>'
            '</WordlarkVersionInfo>').encode()


# FILETIME counts 100 ns steps from 1601.
FILETIME_UNIX_EPOCH = 116444736000000000
FILETIME_DAY = 86400 * 10**7


class StandInServer(http.server.ThreadingHTTPServer):
    """Answers every GET by `answer(query)`: bytes, or None to stay silent
    until the server stops. Keeps the requests it saw."""

    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), StandInHandler)
        self.answer = lambda query: None
        self.requests = []
        self.stopping = threading.Event()
        threading.Thread(target=self.serve_forever, daemon=True).start()

    @property
    def url(self):
        return f"http://127.0.0.1:{self.server_address[1]}"

    def stop(self):
        self.stopping.set()
        self.shutdown()
        self.server_close()


class StandInHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path, _, query = self.path.partition("?")
        self.server.requests.append((path, query, dict(self.headers)))
        body = self.server.answer(urllib.parse.parse_qs(query))
        if body is None:
            self.server.stopping.wait(120)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class UpdateCheckTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        self.server = StandInServer()
        self.addCleanup(self.server.stop)

    def start(self, **settings):
        self.program.write_settings({"WriteLog": 1, "UpdateServerURL": self.server.url,
                                     "AutoCheckForUpdates": 0, **settings})
        return self.start_instance()

    def window_texts(self, timeout=60):
        """The update window's texts once it shows, then closes it."""
        texts = harness.wait_until(lambda: self.session.dialog(TITLE), timeout, 0.5)
        self.assertTrue(texts, "no update window; log:\n" + self.program.read_log())
        return texts

    def close_window(self):
        self.session.write_clipboard("post", WM_CLOSE, "0", "0", "#32770")
        self.assertTrue(harness.wait_until(lambda: not self.session.dialog(TITLE), 20, 0.3))

    def test_manual_checks_show_a_newer_version_the_same_one_and_a_broken_answer(self):
        instance = self.start(SoundOnEventsV094=0)
        self.server.answer = lambda query: version_document("99.1")
        self.assertEqual(self.program.run(["/cfu"]), harness.EXIT_OTHER_INSTANCE)
        texts = self.window_texts()
        self.session.screenshot("update_window.png")
        self.assertIn("Has new version on official web site", texts)
        self.assertIn("Wordlark version on Web Site|99.1|", texts)
        self.assertIn("A fresh release", texts)
        self.assertIn("Not opened, it is not an https address: "
                      "http://insecure.example/portable.zip", texts)

        path, query, headers = self.server.requests[-1]
        self.assertEqual(path, "/Source/update_wlk.php")
        pairs = [pair.split("=", 1) for pair in query.split("&")]
        self.assertEqual([key for key, _ in pairs], QUERY_KEYS)
        values = dict(pairs)
        self.assertEqual((values["sounds"], values["hotkey"]), ("0", "CTRL%2BALT%2BENTER"))
        self.assertEqual(headers.get("User-Agent"), "MyAgent")
        own = urllib.parse.unquote(values["wlk_version"])
        self.assertIn(f"Your version of Wordlark|{own}|", texts)
        self.close_window()

        # The same version, asked for by the suite's named event.
        self.server.answer = lambda query: version_document(query["wlk_version"][0])
        self.session.write_clipboard("signal", "Local\\Wordlark_CommandCheckForUpdates")
        texts = self.window_texts()
        self.assertIn("You use the latest version of Wordlark", texts)
        self.close_window()

        self.server.answer = lambda query: b"<html>not a version document</html>"
        self.assertEqual(self.program.run(["/cfu"]), harness.EXIT_OTHER_INSTANCE)
        self.assertIn(CANNOT_PARSE, self.window_texts())
        self.wait_line(CANNOT_PARSE)
        self.close_window()
        self.exit_instance(instance)

    def test_an_oversized_and_a_silent_answer_end_the_check_while_the_tray_answers(self):
        instance = self.start()
        self.server.answer = lambda query: b"<WordlarkVersionInfo>" + b" " * (5 << 20)
        self.assertEqual(self.program.run(["/cfu"]), harness.EXIT_OTHER_INSTANCE)
        self.assertIn(CANNOT_LOAD, self.window_texts())
        self.close_window()

        self.server.answer = lambda query: None
        started = time.monotonic()
        self.assertEqual(self.program.run(["/cfu"]), harness.EXIT_OTHER_INSTANCE)
        # While the check waits for the server, copies are still recorded.
        self.session.write_clipboard("text", "copied while the check waits")
        self.wait_line("Event OnClipboardHistoryChanged, Count=1")
        self.assertIn(CANNOT_LOAD, self.window_texts(timeout=90))
        self.assertLess(time.monotonic() - started, 90)
        self.close_window()
        self.exit_instance(instance)

    def test_an_automatic_check_of_a_skipped_version_only_logs(self):
        # The last check a day less three seconds ago: due in three seconds.
        now = FILETIME_UNIX_EPOCH + int(time.time() * 10**7)
        last = now - FILETIME_DAY + 3 * 10**7
        low = last & 0xFFFFFFFF
        instance = self.start(AutoCheckForUpdates=1, DaysCheckForUpdates=1,
                              LastCheckForUpdates_V2Low=low - (1 << 32) if low >> 31 else low,
                              LastCheckForUpdates_V2Hi=last >> 32,
                              SkippedVersion_OnCheckUpdates=99010000)
        self.server.answer = lambda query: version_document("99.1")
        self.wait_line("wait for checkupdates ms=")
        self.wait_line("Skip the verion on web site:99010000", timeout=60)
        self.assertIsNone(self.session.dialog(TITLE))
        self.assertTrue(harness.wait_until(
            lambda: int(self.program.setting("LastCheckForUpdates_V2Hi") or 0) << 32 |
            (int(self.program.setting("LastCheckForUpdates_V2Low") or 0) & 0xFFFFFFFF) > now,
            20, 0.3), "the last check's time was not written")
        self.exit_instance(instance)

