<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Toolkit texts shown in Tablor's windows that the toolkit's own French catalogue lacks or
     gets wrong ("Print range" is not "Imprimer la sélection"). Loaded after it, so these win. -->
<TS version="2.1" language="fr_FR">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Double Sided Printing</source>
        <translation>Impression recto verso</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Reliure côté long</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Reliure côté court</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>Étendue d&apos;impression</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Indiquez des pages ou des plages séparées par des virgules ; une plage est faite de deux numéros séparés par un tiret. Par exemple, 3,5-7,9 imprime les pages 3, 5, 6, 7 et 9.</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Propriétés de l&apos;imprimante</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Conflits de mise en page</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Des options de mise en page sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Conflits d&apos;options avancées</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Des options avancées sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Conflits des réglages recto verso</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Les réglages recto verso sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Des options sont en conflit. Veuillez les corriger.</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Pages mal définies</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
</context>
</TS>
