"""Holds no test: bench/insert_figures.py takes phrase_xml from here. What the
program takes from a phrase library and a history folder on disk at start is
the phrase tree's and the history store's tests' matter; the history kept
over a restart is test_clipboard_history's."""

from harness import phrase_xml  # noqa: F401
