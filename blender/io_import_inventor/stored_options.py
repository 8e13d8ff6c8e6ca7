"""The plug-in's preferences file: where it is, reading it, and writing
the one a single import runs with."""

import os

FILE_NAME = "vorlix.ini"

# The plug-in writes these three lines first; its reader skips them.
HEADER = (
    "# Default options for the Inventor geometry import converter.\n"
    "# !! Do not modify this file. It is written by the converter.\n"
    "[Preferences]\n"
)


def default_support_directory():
    """Where kavrel-convert keeps the preferences when not told otherwise."""
    if os.name == "nt":
        return os.path.join(os.environ.get("APPDATA") or ".", "kavrel", "inventor")
    config = os.environ.get("XDG_CONFIG_HOME", "")
    if not config.startswith("/"):
        config = os.path.join(os.path.expanduser("~"), ".config")
    return os.path.join(config, "kavrel", "inventor")


def read_stored_options(support_directory):
    """The file's keys and values as text, in file order; empty without a file.

    Comment and section lines are skipped as kavrel-convert skips them."""
    values = {}
    try:
        with open(os.path.join(support_directory, FILE_NAME), encoding="utf-8", errors="replace") as file:
            for line in file:
                line = line.strip()
                key, equals, value = line.partition("=")
                if not line or line[0] in "#[" or not equals:
                    continue
                values[key.strip()] = value.strip()
    except OSError:
        pass
    return values


def write_preferences(support_directory, values):
    """Writes values, key by key, as the plug-in's own preferences file."""
    os.makedirs(support_directory, exist_ok=True)
    with open(os.path.join(support_directory, FILE_NAME), "w", encoding="utf-8") as file:
        file.write(HEADER)
        for key, value in values.items():
            file.write(f"{key} = {value}\n")
