#!/usr/bin/env python3
"""Regenerates the demo hosts sources (GBK, CR LF): a main list, a backup, an ad-blocking list and
a rogue-navigation list. Addresses come from the documentation ranges (RFC 5737)."""
import os, random

random.seed(20161207)
here = os.path.dirname(os.path.abspath(__file__))
nets = ["192.0.2.", "198.51.100.", "203.0.113."]

groups = [
    ("谷歌搜索与账户", ["www.google.com", "accounts.google.com", "www.google.com.hk", "apis.google.com", "ssl.gstatic.com",
                  "www.gstatic.com", "fonts.googleapis.com", "ajax.googleapis.com", "clients1.google.com"]),
    ("谷歌邮箱与云盘", ["mail.google.com", "drive.google.com", "docs.google.com", "inbox.google.com", "gmail.com"]),
    ("维基百科", ["zh.wikipedia.org", "en.wikipedia.org", "upload.wikimedia.org", "zh.m.wikipedia.org"]),
    ("视频网站", ["www.youtube.com", "m.youtube.com", "i.ytimg.com", "s.ytimg.com", "youtu.be"]),
    ("社交网站", ["www.facebook.com", "m.facebook.com", "static.xx.fbcdn.net", "twitter.com", "mobile.twitter.com",
              "abs.twimg.com", "pbs.twimg.com"]),
    ("开发者服务", ["github.com", "api.github.com", "raw.githubusercontent.com", "gist.github.com",
               "developer.android.com", "source.android.com"]),
]

def lines_for(prefix_comment, extra=0):
    out = ["# Zelkora 云端数据（演示）", "# 更新说明：" + prefix_comment, "", "127.0.0.1 localhost", "::1 localhost", ""]
    for title, hosts in groups:
        out.append("# " + title + " 开始")
        for h in hosts:
            out.append(random.choice(nets) + str(random.randint(1, 254)) + "\t" + h)
        for i in range(extra):
            out.append(random.choice(nets) + str(random.randint(1, 254)) + "\t" + "cdn%d.%s" % (i, hosts[0].split(".", 1)[1]))
        out.append("# " + title + " 结束")
        out.append("")
    return out

def write(name, lines):
    with open(os.path.join(here, name), "wb") as f:
        f.write("\r\n".join(lines).encode("gbk") + b"\r\n")

write("main.hosts", lines_for("实时数据，每小时更新", 60))
write("backup.hosts", lines_for("备用数据，每日更新", 20))
ads = ["# 广告屏蔽列表（演示）", ""] + ["0.0.0.0\tad%d.example-ads.net" % i for i in range(150)] + \
      ["0.0.0.0\ttracker%d.example-track.com" % i for i in range(80)]
write("ad.hosts", ads)
nav = ["# 杜绝流氓导航列表（演示）", ""] + ["0.0.0.0\tnav%d.example-daohang.cn" % i for i in range(40)]
write("navigation.hosts", nav)
