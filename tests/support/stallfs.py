#!/usr/bin/python3
# A pass-through file system whose chosen files stall, answer late or fail, the way a network share or a
# sleeping disk does. Usage: stallfs.py backing-folder mount-point rules-file. Every call reads the rules
# file afresh; each line is "ACTION CALL NAME-PATTERN" with ACTION hang, eio or late=SECONDS and CALL stat,
# open, read, list or statfs. A hang lasts until its line is gone. Nothing is cached by the kernel, so every
# read of a picture meets the rules.
import errno, fnmatch, os, sys, time
from fusepy import FUSE, FuseOSError, Operations


class StallFs(Operations):
    def __init__(self, root, rules):
        self.root, self.rules = root, rules

    def obey(self, call, path):
        while True:
            try:
                with open(self.rules) as rules:
                    lines = [line.split() for line in rules]
            except OSError:
                lines = []
            hung = False
            for action, what, pattern in (line for line in lines if len(line) == 3):
                if what != call or not fnmatch.fnmatch(path.lstrip("/"), pattern):
                    continue
                if action == "eio":
                    raise FuseOSError(errno.EIO)
                if action.startswith("late="):
                    time.sleep(float(action[5:]))
                hung = hung or action == "hang"
            if not hung:
                return
            time.sleep(0.05)

    def getattr(self, path, fh=None):
        self.obey("stat", path)
        try:
            st = os.lstat(self.root + path)
        except OSError as error:
            raise FuseOSError(error.errno)
        return {key: getattr(st, key) for key in dir(st) if key.startswith("st_") and not key.endswith("_ns")}

    def readdir(self, path, fh):
        self.obey("list", path)
        return [".", ".."] + os.listdir(self.root + path)

    def open(self, path, flags):
        self.obey("open", path)
        return os.open(self.root + path, os.O_RDONLY)

    def read(self, path, size, offset, fh):
        self.obey("read", path)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)

    def statfs(self, path):
        self.obey("statfs", path)
        st = os.statvfs(self.root + path)
        return {key: getattr(st, key) for key in dir(st) if key.startswith("f_")}


if __name__ == "__main__":
    FUSE(StallFs(sys.argv[1], sys.argv[3]), sys.argv[2], foreground=True, ro=True, direct_io=True,
         attr_timeout=0, entry_timeout=0, negative_timeout=0)
