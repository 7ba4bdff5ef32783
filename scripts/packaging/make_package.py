#!/usr/bin/env python3
"""Builds the release packages of Quorvel from a build's bin folder: a portable zip and an MSI installer.

Usage: make_package.py --bin DIR --arch x86|x64 --version X.Y.Z --objdump TOOL --out DIR --stage DIR
                       --licence NAME=FILE ... [--readme FILE] [--delay-loaded FILE]

The files shipped are the program, every library it imports from the bin folder (found through the import
tables, recursively; the libraries it delay-loads are in no import table and are listed one a line in the
--delay-loaded file), the dictionaries and the uninstall helper; an import that is neither shipped nor a Windows
system library stops the build, so a package can never miss a DLL.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import uuid
import zipfile
from xml.sax.saxutils import quoteattr

PROGRAMS = ["Quorvel.exe", "QuorvelUninstall.exe"]
PUBLISHER = "Quorvel Project"

# Libraries every Windows version the program supports has.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll", "kernel32.dll", "mpr.dll",
    "msimg32.dll", "msvcrt.dll", "netapi32.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "urlmon.dll", "user32.dll", "userenv.dll",
    "uxtheme.dll", "version.dll", "wininet.dll", "winmm.dll", "ws2_32.dll", "wsock32.dll", "mstask.dll",
    "srclient.dll", "wtsapi32.dll", "iphlpapi.dll", "dbghelp.dll", "imagehlp.dll", "secur32.dll",
}

# Stable per architecture, so a newer package replaces an older one.
UPGRADE_CODES = {"x86": "6B1D2C1E-3F57-4C3B-9E43-6E2A93C7A5D1", "x64": "B4D6F0A2-8C1E-4F37-A5D9-2E7C61B3F804"}


def imports(objdump, path):
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    return re.findall(r"DLL Name: (\S+)", out)


def closure(objdump, bin_dir, roots):
    """The files of bin_dir that the roots need, roots included; fails on an import found nowhere."""
    shipped, missing, todo = [], [], list(roots)
    names = {n.lower(): n for n in os.listdir(bin_dir)}
    while todo:
        name = todo.pop()
        if name in shipped:
            continue
        shipped.append(name)
        for dll in imports(objdump, os.path.join(bin_dir, name)):
            key = dll.lower()
            if key in names:
                if names[key] not in shipped:
                    todo.append(names[key])
            elif key not in SYSTEM_DLLS and not key.startswith("api-ms-win-"):
                missing.append("%s (imported by %s)" % (dll, name))
    if missing:
        sys.exit("make_package.py: imports found neither in the build nor among system libraries: " +
                 ", ".join(sorted(set(missing))))
    return sorted(shipped, key=str.lower)


def stage(args, files):
    root = os.path.join(args.stage, "Quorvel")
    shutil.rmtree(args.stage, ignore_errors=True)
    os.makedirs(root)
    for f in files:
        shutil.copy2(os.path.join(args.bin, f), root)
    shutil.copytree(os.path.join(args.bin, "dic"), os.path.join(root, "dic"))
    if args.readme:
        shutil.copy2(args.readme, os.path.join(root, "README.txt"))
    os.makedirs(os.path.join(root, "licences"))
    for item in args.licence:
        name, path = item.split("=", 1)
        shutil.copy2(path, os.path.join(root, "licences", name + ".txt"))
    return root


def make_zip(root, path):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for folder, _, names in sorted(os.walk(root)):
            for n in sorted(names):
                full = os.path.join(folder, n)
                z.write(full, os.path.join("Quorvel", os.path.relpath(full, root)).replace(os.sep, "/"))


def wxs(root, arch, version):
    """The installer's description: every staged file, a Start-menu shortcut, the clean-up on removal. Sources are
    relative to root (wixl runs there)."""
    ids = {}

    def ident(prefix, rel):
        base = prefix + re.sub(r"[^A-Za-z0-9_.]", "_", rel)[:60]
        n, key = 1, base
        while key in ids:
            n += 1
            key = "%s_%d" % (base, n)
        ids[key] = rel
        return key

    components = []
    # 64-bit components write the 64-bit registry view (else the installed-programs icon lands in the 32-bit one).
    win64 = ' Win64="yes"' if arch == "x64" else ""

    def directory(path, rel, indent):
        lines = []
        for name in sorted(os.listdir(path)):
            full, sub = os.path.join(path, name), os.path.join(rel, name) if rel else name
            if os.path.isdir(full):
                lines.append('%s<Directory Id=%s Name=%s>' % (indent, quoteattr(ident("d_", sub)), quoteattr(name)))
                lines += directory(full, sub, indent + "  ")
                lines.append("%s</Directory>" % indent)
            else:
                cid = ident("c_", sub)
                fid = "QuorvelExe" if sub == "Quorvel.exe" else ident("f_", sub)
                if sub == "QuorvelUninstall.exe":
                    fid = "QuorvelUninstallExe"
                components.append(cid)
                lines.append('%s<Component Id=%s Guid="*"%s><File Id=%s Source=%s KeyPath="yes"/></Component>' %
                             (indent, quoteattr(cid), win64, quoteattr(fid), quoteattr(sub)))
        return lines

    files = directory(root, "", "            ")
    program_files = "ProgramFiles64Folder" if arch == "x64" else "ProgramFilesFolder"
    refs = "\n".join('      <ComponentRef Id=%s/>' % quoteattr(c) for c in components)
    return """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Quorvel" Language="1033" Version="{version}" Manufacturer="{publisher}"
           UpgradeCode="{upgrade}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine" Description="Quorvel {version}"
             Manufacturer="{publisher}"/>
    <Media Id="1" Cabinet="quorvel.cab" EmbedCab="yes"/>
    <Icon Id="QuorvelIcon.exe" SourceFile={icon}/>
    <Property Id="ARPPRODUCTICON" Value="QuorvelIcon.exe"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <Property Id="REMOVEUSERDATA" Value="0"/>
    <!-- Before the files go: the start-up entries and scheduled scans the program made, and, when asked with
         REMOVEUSERDATA=1, the backups and data it wrote beside itself. -->
    <CustomAction Id="RemoveWhatTheProgramMade" FileKey="QuorvelUninstallExe" ExeCommand="--keep-user-data"
                  Execute="deferred" Impersonate="no" Return="ignore"/>
    <CustomAction Id="RemoveWhatTheProgramMadeAndUserData" FileKey="QuorvelUninstallExe" ExeCommand=""
                  Execute="deferred" Impersonate="no" Return="ignore"/>
    <!-- A per-machine install puts its shortcut among all users' programs. Installer engines that resolve
         ProgramMenuFolder for the installing user alone whatever ALLUSERS says are given the common folder. -->
    <Property Id="COMMONPROGRAMS">
      <RegistrySearch Id="CommonProgramsFolder" Root="HKLM"
                      Key="Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
                      Name="Common Programs" Type="raw"{win64}/>
    </Property>
    <CustomAction Id="ShortcutAmongAllUsersPrograms" Property="ProgramMenuFolder" Value="[COMMONPROGRAMS]\"/>
    <InstallUISequence>
      <Custom Action="ShortcutAmongAllUsersPrograms" Sequence="60">COMMONPROGRAMS</Custom>
    </InstallUISequence>
    <InstallExecuteSequence>
      <Custom Action="ShortcutAmongAllUsersPrograms" Sequence="60">COMMONPROGRAMS</Custom>
      <Custom Action="RemoveWhatTheProgramMade" Sequence="3400">REMOVE="ALL" AND NOT REMOVEUSERDATA="1"</Custom>
      <Custom Action="RemoveWhatTheProgramMadeAndUserData" Sequence="3401">REMOVE="ALL" AND REMOVEUSERDATA="1"</Custom>
    </InstallExecuteSequence>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="{program_files}">
        <Directory Id="INSTALLDIR" Name="Quorvel">
{files}
        </Directory>
      </Directory>
      <Directory Id="ProgramMenuFolder">
        <Component Id="StartMenuShortcut" Guid="{shortcut_guid}"{win64}>
          <Shortcut Id="QuorvelShortcut" Name="Quorvel" Description="Quorvel system maintenance"
                    Target="[INSTALLDIR]Quorvel.exe" WorkingDirectory="INSTALLDIR" Icon="QuorvelIcon.exe"/>
          <RegistryValue Root="HKLM" Key="Software\\Quorvel\\Installer" Name="StartMenuShortcut" Type="integer"
                         Value="1" KeyPath="yes"/>
        </Component>
        <!-- The installed-programs list shows the program's own icon (not every installer engine writes it from
             ARPPRODUCTICON). -->
        <Component Id="InstalledProgramsIcon" Guid="{icon_guid}"{win64}>
          <RegistryValue Root="HKLM" Key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[ProductCode]"
                         Name="DisplayIcon" Type="string" Value="[INSTALLDIR]Quorvel.exe,0" KeyPath="yes"/>
        </Component>
      </Directory>
    </Directory>
    <Feature Id="Quorvel" Title="Quorvel" Level="1">
{refs}
      <ComponentRef Id="StartMenuShortcut"/>
      <ComponentRef Id="InstalledProgramsIcon"/>
    </Feature>
  </Product>
</Wix>
""".format(version=version, publisher=PUBLISHER, upgrade=UPGRADE_CODES[arch], program_files=program_files,
           files="\n".join(files), refs=refs, win64=win64, icon=quoteattr("Quorvel.exe"),
           shortcut_guid=str(uuid.uuid5(uuid.NAMESPACE_URL, "quorvel-shortcut-" + arch)).upper(),
           icon_guid=str(uuid.uuid5(uuid.NAMESPACE_URL, "quorvel-arp-icon-" + arch)).upper())


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin", required=True)
    p.add_argument("--arch", choices=["x86", "x64"], required=True)
    p.add_argument("--version", required=True)
    p.add_argument("--objdump", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--stage", required=True)
    p.add_argument("--licence", action="append", default=[])
    p.add_argument("--readme")
    p.add_argument("--delay-loaded")
    args = p.parse_args()

    roots = list(PROGRAMS)
    if args.delay_loaded:
        with open(args.delay_loaded) as f:
            roots += [line.strip() for line in f if line.strip()]
    files = closure(args.objdump, args.bin, roots)
    root = stage(args, files)
    os.makedirs(args.out, exist_ok=True)
    base = os.path.join(args.out, "Quorvel-%s-%s" % (args.version, args.arch))
    make_zip(root, base + ".zip")
    with open(base + ".wxs", "w", encoding="utf-8") as f:
        f.write(wxs(root, args.arch, args.version))
    subprocess.run(["wixl", "-a", "x64" if args.arch == "x64" else "x86", "-o", os.path.abspath(base + ".msi"),
                    os.path.abspath(base + ".wxs")], check=True, cwd=root)
    with open(base + ".files.txt", "w") as f:
        for folder, _, names in sorted(os.walk(root)):
            for n in sorted(names):
                f.write(os.path.relpath(os.path.join(folder, n), root).replace(os.sep, "\\") + "\n")
    print("make_package.py: %s.zip and %s.msi (%d files)" % (base, base, sum(len(n) for _, _, n in os.walk(root))))


main()
