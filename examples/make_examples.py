#!/usr/bin/env python3
"""Writes the sample tables of this folder and checks them.

Each table file is plain Windows-1252 text, one value per line, every line ended by CR LF:
the number of fields F, the number of rows R (records + 1), the sort field, the record card's
width and height, then four lines per field (column width, card label left, card label top,
copy flag), then the cells row by row, the field names first: 5 + 4F + F*R lines in all.

Run from anywhere: python3 examples/make_examples.py
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

CARD_WIDTH, CARD_HEIGHT = 327, 450


def card_position(i):
    """The default place of field i's label on the record card: eight to a column."""
    return (i // 8) * 88 + 8, (i % 8) * 48 + 40


def column_width(cells):
    """Wide enough for the longest text of the column at the grid's 8-point font."""
    longest = max(len(c) for c in cells)
    return max(64, min(260, longest * 7 + 10))


def table_bytes(fields, records):
    assert 1 <= len(fields) <= 40 and records
    rows = [fields] + records
    lines = [len(fields), len(rows), 0, CARD_WIDTH, CARD_HEIGHT]
    for i in range(len(fields)):
        left, top = card_position(i)
        lines += [column_width([r[i] for r in rows]), left, top, 1]
    for row in rows:
        assert len(row) == len(fields), row
        lines += row
    text = "".join(f"{v}\r\n" for v in lines)
    return text.encode("cp1252")


def check(data, fields, records):
    assert data.endswith(b"\r\n")
    lines = data.split(b"\r\n")[:-1]
    f, r = len(fields), len(records) + 1
    assert len(lines) == 5 + 4 * f + f * r, "line count"
    assert all(b"\r" not in l and b"\n" not in l for l in lines), "stray line break"
    assert int(lines[0]) == f and int(lines[1]) == r
    assert data.decode("cp1252").encode("cp1252") == data


CONTACTS_FIELDS = ["Nom", "Prénom", "Adresse", "Code postal", "Ville", "Téléphone", "Courriel"]
CONTACTS = [
    ["Lefèvre", "Hélène", "12 rue des Lilas", "25000", "Besançon", "01 99 00 12 34", "helene.lefevre@example.com"],
    ["Bénard", "François", "3 place du Marché", "45000", "Orléans", "01 99 00 23 45", "f.benard@example.net"],
    ["Garçon", "Agnès", "27 avenue Jean-Jaurès", "30000", "Nîmes", "06 39 98 10 11", "agnes.garcon@example.org"],
    ["Martin", "Jérôme", "8 impasse des Tilleuls", "50000", "Saint-Lô", "01 99 00 34 56", "jerome.martin@example.com"],
    ["Noël", "Loïc", "41 rue de la Gare", "61000", "Alençon", "06 39 98 22 33", "loic.noel@example.net"],
    ["Dupré", "Zoé", "5 chemin des Vignes", "71000", "Mâcon", "01 99 00 45 67", "zoe.dupre@example.org"],
    ["Lemaître", "Cécile", "19 boulevard Carnot", "88000", "Épinal", "06 39 98 44 55", "cecile.lemaitre@example.com"],
    ["Bérenger", "Stéphane", "2 rue du Château", "16000", "Angoulême", "01 99 00 56 78", "s.berenger@example.net"],
    ["Châtelain", "Anaïs", "64 quai de la Loire", "42000", "Saint-Étienne", "06 39 98 66 77", "anais.chatelain@example.org"],
    ["Rousseau", "Frédéric", "10 allée des Érables", "83400", "Hyères", "01 99 00 67 89", "frederic.rousseau@example.com"],
    ["Hébert", "Gaëlle", "7 rue Pasteur", "24000", "Périgueux", "06 39 98 88 99", "gaelle.hebert@example.net"],
    ["Fournier", "Benoît", "33 rue Victor-Hugo", "60200", "Compiègne", "01 99 00 78 90", "benoit.fournier@example.org"],
    ["Lambert", "Joël", "15 route de Colmar", "67600", "Sélestat", "06 39 98 11 22", "joel.lambert@example.com"],
    ["Mercier", "Mélanie", "22 rue de l'Église", "27000", "Évreux", "01 99 00 89 01", "melanie.mercier@example.net"],
    ["Girard", "Clément", "1 place de la République", "34120", "Pézenas", "06 39 98 33 44", "clement.girard@example.org"],
    ["Faure", "Rémi", "48 avenue de la Mer", "34200", "Sète", "01 99 00 90 12", "remi.faure@example.com"],
    ["Perrin", "Thérèse", "9 rue des Écoles", "26200", "Montélimar", "06 39 98 55 66", "therese.perrin@example.net"],
    ["Blanchard", "Léa", "16 rue du Lac", "88400", "Gérardmer", "01 99 00 01 23", "lea.blanchard@example.org"],
    ["Guérin", "Maël", "5 rue des Remparts", "83600", "Fréjus", "06 39 98 77 88", "mael.guerin@example.com"],
    ["Boyer", "Chloé", "28 cours Gambetta", "34500", "Béziers", "01 99 00 13 57", "chloe.boyer@example.net"],
    ["Roche", "Noémie", "11 rue de la Côte", "43000", "Le Puy-en-Velay", "06 39 98 24 68", "noemie.roche@example.org"],
    ["Müller", "Raphaël", "4 rue des Tanneurs", "68000", "Colmar", "01 99 00 35 79", "raphael.muller@example.com"],
    ["Lacroix", "Maëlys", "6 place Ducale", "08000", "Charleville-Mézières", "06 39 98 46 80", "maelys.lacroix@example.net"],
    ["Vidal", "Jérémie", "37 rue du Moulin", "02400", "Château-Thierry", "01 99 00 57 91", "jeremie.vidal@example.org"],
    ["Aubry", "Inès", "20 avenue des Thermes", "73100", "Aix-les-Bains", "06 39 98 68 02", "ines.aubry@example.com"],
    ["Caron", "Françoise", "2 rue Sainte-Œuvre", "51000", "Châlons-en-Champagne", "01 99 00 79 13", "francoise.caron@example.net"],
]

LIBRARY_FIELDS = ["Titre", "Auteur", "Année", "Genre", "Cote", "État"]
LIBRARY = [
    ["Les Misérables", "Victor Hugo", "1862", "Roman", "R HUG 1", "Disponible"],
    ["Notre-Dame de Paris", "Victor Hugo", "1831", "Roman", "R HUG 2", "Emprunté"],
    ["Les Contemplations", "Victor Hugo", "1856", "Poésie", "P HUG 1", "Disponible"],
    ["Madame Bovary", "Gustave Flaubert", "1857", "Roman", "R FLA 1", "Disponible"],
    ["Le Rouge et le Noir", "Stendhal", "1830", "Roman", "R STE 1", "Emprunté"],
    ["Germinal", "Émile Zola", "1885", "Roman", "R ZOL 1", "Disponible"],
    ["L'Assommoir", "Émile Zola", "1877", "Roman", "R ZOL 2", "Disponible"],
    ["Le Comte de Monte-Cristo", "Alexandre Dumas", "1844", "Roman", "R DUM 1", "Disponible"],
    ["Les Trois Mousquetaires", "Alexandre Dumas", "1844", "Roman", "R DUM 2", "Emprunté"],
    ["Vingt mille lieues sous les mers", "Jules Verne", "1870", "Aventure", "A VER 1", "Disponible"],
    ["Le Tour du monde en quatre-vingts jours", "Jules Verne", "1872", "Aventure", "A VER 2", "Disponible"],
    ["Candide", "Voltaire", "1759", "Conte philosophique", "C VOL 1", "Disponible"],
    ["Les Fleurs du mal", "Charles Baudelaire", "1857", "Poésie", "P BAU 1", "Emprunté"],
    ["Le Père Goriot", "Honoré de Balzac", "1835", "Roman", "R BAL 1", "Disponible"],
    ["Eugénie Grandet", "Honoré de Balzac", "1833", "Roman", "R BAL 2", "Disponible"],
    ["Bel-Ami", "Guy de Maupassant", "1885", "Roman", "R MAU 1", "Disponible"],
    ["Le Horla", "Guy de Maupassant", "1887", "Nouvelles", "N MAU 1", "Disponible"],
    ["Carmen", "Prosper Mérimée", "1847", "Nouvelles", "N MER 1", "Emprunté"],
    ["Le Misanthrope", "Molière", "1666", "Théâtre", "T MOL 1", "Disponible"],
    ["Tartuffe", "Molière", "1664", "Théâtre", "T MOL 2", "Disponible"],
    ["Phèdre", "Jean Racine", "1677", "Théâtre", "T RAC 1", "Disponible"],
    ["Le Cid", "Pierre Corneille", "1637", "Théâtre", "T COR 1", "Disponible"],
    ["Cyrano de Bergerac", "Edmond Rostand", "1897", "Théâtre", "T ROS 1", "Emprunté"],
    ["La Princesse de Clèves", "Madame de La Fayette", "1678", "Roman", "R LAF 1", "Disponible"],
    ["Les Liaisons dangereuses", "Choderlos de Laclos", "1782", "Roman", "R LAC 1", "Disponible"],
    ["Le Grand Meaulnes", "Alain-Fournier", "1913", "Roman", "R ALA 1", "Disponible"],
    ["Alcools", "Guillaume Apollinaire", "1913", "Poésie", "P APO 1", "Disponible"],
    ["Fables", "Jean de La Fontaine", "1668", "Poésie", "P LAF 1", "Emprunté"],
]

STOCK_FIELDS = ["Référence", "Désignation", "Catégorie", "Quantité", "Prix unitaire", "Emplacement"]
STOCK = [
    ["PAP-001", "Ramette papier A4 80 g", "Papeterie", "48", "4,90 €", "Étagère A1"],
    ["PAP-002", "Bloc-notes à spirale", "Papeterie", "120", "1,80 €", "Étagère A1"],
    ["ECR-010", "Stylo bille bleu", "Écriture", "350", "0,45 €", "Tiroir B2"],
    ["ECR-011", "Surligneur jaune", "Écriture", "90", "0,95 €", "Tiroir B2"],
    ["CLA-020", "Classeur à levier", "Classement", "36", "3,20 €", "Étagère A3"],
    ["CLA-021", "Trombones (boîte de 100)", "Classement", "64", "1,10 €", "Tiroir B1"],
    ["INF-100", "Clé USB 32 Go", "Informatique", "25", "7,50 €", "Armoire C"],
    ["INF-101", "Câble réseau 2 m", "Informatique", "40", "3,90 €", "Armoire C"],
    ["INF-102", "Souris sans fil", "Informatique", "12", "14,90 €", "Armoire C"],
    ["INF-103", "Clavier AZERTY", "Informatique", "8", "24,00 €", "Armoire C"],
    ["INF-104", "Écran 24 pouces", "Informatique", "3", "149,00 €", "Réserve"],
    ["MOB-200", "Lampe de bureau à LED", "Mobilier", "6", "29,90 €", "Réserve"],
    ["MOB-201", "Chaise de bureau", "Mobilier", "4", "89,00 €", "Réserve"],
    ["CON-300", "Cartouche d'encre noire", "Consommables", "15", "19,50 €", "Armoire C"],
]

TABLES = {
    "Contacts.tbr": (CONTACTS_FIELDS, CONTACTS),
    "Bibliotheque.tbr": (LIBRARY_FIELDS, LIBRARY),
    "Inventaire.tbr": (STOCK_FIELDS, STOCK),
}

if __name__ == "__main__":
    for name, (fields, records) in TABLES.items():
        data = table_bytes(fields, records)
        check(data, fields, records)
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
        lines = 5 + 4 * len(fields) + len(fields) * (len(records) + 1)
        print(f"{name}: {len(fields)} fields, {len(records)} records, {lines} lines, {len(data)} bytes")
