#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora (fuzz/corpus/<target>/).

Each seed is a small, valid file of one kind, built from the file layouts:
test files (kind 1), analysis files (kind 2 and 3), the old "meyptx" format,
calibration tables, the settings assignments of kvdtool report, and the inspection station's
messages and replies. The fuzzers mutate these; the seeds are committed so
that a run starts from readable files. Run again after a layout changes.
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

PREFIX_TAG = b"VXRAC\0\0\0\x18\x95"
PREFIX_SIZE = 256
HEADER_SIZE = 1640
SNAPSHOT_SIZE = 68
CHANNELS = 16


def prefix(version, kind):
    out = bytearray(PREFIX_TAG + struct.pack("<di", version, kind))
    out += bytes(PREFIX_SIZE - len(out))
    return out


def header():
    """A TestHeader with two test-pile channels in use and averaged."""
    h = bytearray(HEADER_SIZE)
    h[0:5] = b"VXRAC"
    pile = "S1".encode("gbk")
    h[114:114 + len(pile)] = pile
    for j in range(2):
        h[159 + j] = 1  # averaged
        h[185 + j] = 1  # in use
        h[201 + j] = 1  # test pile
    h[893] = 10  # loading grades
    struct.pack_into("<12H", h, 908, 0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30)
    struct.pack_into("<12H", h, 932, 0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 180)
    struct.pack_into("<i", h, 956, 400)  # max load, kN
    struct.pack_into("<i", h, 1056, SNAPSHOT_SIZE)
    return h


def sample_point(grade, load, minutes, s):
    channels = [s, s + 0.02] + [0.0] * (CHANNELS - 2)
    return struct.pack("<4i16dd", grade, 1, load, minutes, *channels, s + 0.01)


def raw_reading(time, status, grade, index, load, s):
    channels = [s, s + 0.02] + [0.0] * (CHANNELS - 2)
    return struct.pack("<q7i4x2d16d", time, status, 1, grade, index, load, load, load,
                       load / 20.0, load / 20.0, *channels)


def snapshot():
    return bytes(SNAPSHOT_SIZE)


RAW = [  # (grade, index, load, settlement)
    (0, 0, 0, 0.0),
    (1, 0, 80, 0.0),
    (1, 1, 80, 0.35),
    (2, 0, 120, 0.35),
    (2, 1, 120, 0.81),
]
T0 = 1700000000


def test_file():
    out = prefix(2013.1016, 1)
    out += struct.pack("<iii", 0, 0, len(RAW) - 1)  # finished, modCount, R - 1
    out += header()
    for r, (grade, index, load, s) in enumerate(RAW):
        out += raw_reading(T0 + 300 * r, 0, grade, index, load, s) + snapshot()
    return out


def analysis_file(with_raw):
    out = prefix(2013.0917, 3 if with_raw else 2)
    out += header()
    points = [(0, 0, 0, 0.0), (1, 80, 0, 0.0), (1, 80, 5, 0.35), (2, 120, 0, 0.35),
              (2, 120, 5, 0.81)]
    out += struct.pack("<i", len(points))
    for grade, load, minutes, s in points:
        out += sample_point(grade, load, minutes, s)
    if with_raw:
        # The second reading was changed on the tester: status 1 and its
        # three-image modification block.
        out += struct.pack("<ii", 3, 1)
        out += raw_reading(T0, 0, 0, 0, 0, 0.0) + snapshot()
        changed = raw_reading(T0 + 300, 1, 1, 0, 80, 0.0)
        out += changed + raw_reading(T0 + 300, 0, 1, 0, 80, 0.1) * 3 + snapshot()
    return out


def old_format_file():
    out = bytearray(1428)
    out[0:7] = b"meyptx\0"
    readings = [(1, 80, 0.0), (1, 80, 0.42), (2, 120, 0.9)]
    struct.pack_into("<H", out, 398, len(readings))
    for grade, load, s in readings:
        channels = [s, s + 0.02] + [0.0] * 10
        out += struct.pack("<Hhd8s4xiif12f", grade, 1, 45000.5, b"08:30:00", load, load,
                           load / 20.0, *channels)
    return out


def calibration(lines, crlf=False):
    text = ("\r\n" if crlf else "\n").join(lines)
    return text.encode("gbk")


CALIBRATION_HEAD = [
    "位移计率定表",
    "编号：,WY-07",
    "率定日期：,2024-05-06",
    "率定最大量程（mm）：,10",
    "率定间隔（mm）：,3",
    "位移（mm）,频率（Hz）",
]


def choice_block(rule, value, at_least, note):
    """The 96-byte engineer's choice block that may end an analysis file."""
    b = bytearray(b"KVDQ" + struct.pack("<HHHBBIdq", 1, 96, rule, 1 if at_least else 0, 0,
                                        0x1234ABCD, value, 1686529800))
    text = note.encode("gbk")[:59]
    b += text + bytes(60 - len(text))
    b += struct.pack("<I", zlib.crc32(bytes(b)))
    assert len(b) == 96
    return b


def crc8_maxim(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0x8C if crc & 1 else crc >> 1
    return crc


def station_frame(kind, payload):
    """A message to (or reply from) the inspection station: 12-byte header + payload."""
    run = len(payload) % 256
    crc = crc8_maxim(payload[:run]) if 1 <= run <= 127 else 0
    head = bytearray(b"crvn" + struct.pack("<IBB", len(payload), kind, crc))
    check = 436 + sum(struct.unpack("<4b", head[4:8])) + crc
    return bytes(head + struct.pack("<H", check & 0xFFFF)) + bytes(payload)


def station_session():
    """Verification, one record and the end message, as a client sends them."""
    verification = bytearray(696)
    verification[0:7] = b"VX-2620"
    kind_text = "竖向试验".encode("gbk")
    verification[92:92 + len(kind_text)] = kind_text
    record = bytearray(125)
    struct.pack_into("<IH4B", record, 0, 1001, 1, 0, 1, 0, 1)
    struct.pack_into("<HI", record, 26, 5, 1001)
    struct.pack_into("<H", record, 123, 10)
    end = struct.pack("<I", 1001) + b"VX-2620".ljust(12, b"\0")
    return station_frame(1, verification) + station_frame(2, record) + station_frame(5, end)


def reply(identifier, echo):
    return station_frame(2, struct.pack("<IH", identifier, echo))


def main():
    seeds = {
        "fuzz_test_file": {
            "kind1.PTX": test_file(),
            "kind2.KVD": analysis_file(False),
            "kind3.KVD": analysis_file(True),
            "old.PTX": old_format_file(),
        },
        "fuzz_analysis": {
            "kind1.PTX": test_file(),
            "kind2.KVD": analysis_file(False),
            "kind3.KVD": analysis_file(True),
        },
        "fuzz_engineer_choice": {
            "block.bin": choice_block(114, 3714.29, False, "按 s = 40 mm 取值"),
            "kind2_with_choice.KVD": analysis_file(False) + choice_block(116, 3000.0, True, ""),
        },
        "fuzz_calibration": {
            "table.wld": calibration(
                CALIBRATION_HEAD + ["0.00,1520.4", "3.00,1580.2", "6.00,", "9.00,1702.9", ""]),
            "quoted_crlf.qld": calibration(
                ["位移计率定表", '编号：,"QJ-1"', '率定日期：,"2024-05-06"',
                 '率定最大量程（mm）：,"5000"', '率定间隔（mm）：,"1000"',
                 "位移（mm）,频率（Hz）", "0.00,0", "1000.00,7.5", "2000.00,15.1", ""],
                crlf=True),
            "short.wld": calibration(["位移计率定表", "12345", "", "率定间隔（mm）：,0.2"]),
        },
        "fuzz_setting_assignment": {
            "mode": "页面设置/打印页码=3".encode(),
            "header": "页面设置/页眉=某某检测中心".encode(),
            "layout": "打印选项/打印版式=0".encode(),
            "width": "页面设置/纸张宽度=1840".encode(),
            "font": "图形样式/标题字体=宋体".encode(),
        },
        # The first two bytes are the sequence value the reply must echo.
        "fuzz_upload_reply": {
            "accepted.bin": struct.pack("<H", 7) + reply(1001, 7),
            "wrong_echo.bin": struct.pack("<H", 8) + reply(1001, 7),
            "zero_identifier.bin": struct.pack("<H", 0) + reply(0, 0),
        },
        # The first byte sets the size of the pieces the stream arrives in.
        "fuzz_station_message": {
            "session.bin": bytes([17]) + station_session(),
            "two_replies.bin": bytes([3]) + reply(1001, 0) + reply(1001, 5),
        },
    }
    for target, files in seeds.items():
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            assert len(data) < 8192, name
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
