"""Finding kavrel-convert and running it on one file: its progress lines go
to a callback as they come, its messages and statistics come back sorted."""

import os
import re
import shutil
import subprocess
import threading
from dataclasses import dataclass, field

COMMAND = "kavrel-convert"

INSTALL_HINT = ("install kavrel (from a kavrel build: cmake --install build, or the kavrel .deb package), "
                "or set the converter's path in Preferences > Add-ons > Import-Export: Open Inventor / VRML 1.0")

# The exit statuses kavrel-convert documents besides success.
EXIT_MEANINGS = {
    1: "the conversion failed",
    2: "kavrel-convert did not accept its command line",
    3: "not an Open Inventor 2.x or VRML 1.0 file",
}

# Everything the converter prints on standard error off a terminal is one
# of these progress lines, a warning or an error.
_PROGRESS = re.compile(
    r"Converting |Reading Inventor File$|Processing -?\d+ polygon Shape node\.$|Welding .* together\.$"
    r"|Optimizing |Calculating smooth normals")
_SHAPE = re.compile(r"Processing -?\d+ polygon Shape node\.$")


class ConverterMissing(Exception):
    """kavrel-convert is neither where the preferences say nor on PATH."""


def find_converter(configured_path):
    """The converter to run: the configured file, else kavrel-convert on PATH."""
    if configured_path:
        if os.path.isfile(configured_path) and os.access(configured_path, os.X_OK):
            return configured_path
        raise ConverterMissing(f"The converter set in the add-on's preferences, '{configured_path}', "
                               f"is not an executable file; {INSTALL_HINT}")
    found = shutil.which(COMMAND)
    if not found:
        raise ConverterMissing(f"{COMMAND} was not found on PATH; {INSTALL_HINT}")
    return found


@dataclass
class Conversion:
    """What one run of the converter left."""
    status: int                                      # exit status; negative: ended by that signal
    messages: list = field(default_factory=list)     # warnings and errors, one line each
    statistics: list = field(default_factory=list)   # the plug-in's report lines

    @property
    def succeeded(self):
        return self.status == 0

    def failure(self):
        """Why the conversion failed, in a few words."""
        if self.status < 0:
            return f"kavrel-convert was stopped by signal {-self.status}"
        return EXIT_MEANINGS.get(self.status, f"kavrel-convert ended with status {self.status}")


def is_shape_progress(line):
    """True for the line the plug-in shows as it starts on a shape."""
    return _SHAPE.match(line) is not None


def convert(executable, input_path, output_path, support_directory, tokens, on_progress):
    """Converts input_path into output_path (a .glb), reading the options
    in support_directory and sending tokens, (key, text) pairs, with -O.
    on_progress is called with each progress line."""
    command = [executable, input_path, "-o", output_path, "--support-dir", support_directory]
    for key, text in tokens:
        command += ["-O", f"{key}={text}"]
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               text=True, encoding="utf-8", errors="replace",
                               creationflags=getattr(subprocess, "CREATE_NO_WINDOW", 0))
    result = Conversion(status=0)
    # Standard output is read on a thread of its own, so that neither pipe
    # can fill up and stall the converter while the other is read.
    reader = threading.Thread(target=_read_statistics, args=(process.stdout, result.statistics), daemon=True)
    reader.start()
    summary = " -> " + output_path
    for line in process.stderr:
        line = line.rstrip("\r\n")
        if _PROGRESS.match(line) or line.endswith(summary):
            on_progress(line)
        elif line.strip():
            result.messages.append(line.strip())
    result.status = process.wait()
    reader.join()
    return result


def _read_statistics(stream, statistics):
    for line in stream:
        line = line.strip()
        # The summary line describes the temporary .glb, not the import.
        if line and not line.startswith("Output: "):
            statistics.append(line)
