<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ" sourcelanguage="cs_CZ">
<context>
    <name>zk::CScaledPrintDlg</name>
    <message numerus="yes">
        <source>buněk</source>
        <comment>after the overlap</comment>
        <translation>
            <numerusform>buňka</numerusform>
            <numerusform>buňky</numerusform>
            <numerusform>buněk</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zk::ScaledPrint</name>
    <message numerus="yes">
        <source>%n stran (%1 × %2) a přehled</source>
        <translation>
            <numerusform>%n strana (%1 × %2) a přehled</numerusform>
            <numerusform>%n strany (%1 × %2) a přehled</numerusform>
            <numerusform>%n stran (%1 × %2) a přehled</numerusform>
        </translation>
    </message>
</context>
</TS>
