#!/usr/bin/env bash
# wine-settings.sh [--unmanaged] > FILE.reg
# Prints the settings every test prefix gets (64-bit and 32-bit alike), as a registry file for
# one "regedit /S" (GBK text: regedit reads it in the prefix's code page 936).
#   --unmanaged  Wine draws window frames itself: the private display has no window manager
set -euo pipefail
{
  printf 'REGEDIT4\r\n\r\n'
  # A crash dialog would block an unattended run.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  # Chinese fonts the program asks for by name are drawn with the installed CJK font.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for f in 宋体 新宋体 黑体 微软雅黑 SimSun NSimSun SimHei "Microsoft YaHei"; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"
  done
  if [ "${1:-}" = --unmanaged ]; then
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  fi
} | iconv -f UTF-8 -t GBK
