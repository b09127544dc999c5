-- Sample database of a small cafe in Bandung, for trying the program out.
-- Loaded after the table definitions; every row follows the column order
-- of its table. The carts and the held charges start empty; the journal and
-- the stock flow of a few days of trading are booked at build time by the
-- cashier's own save (tools/mkdata history).

-- Settings: receipt header and footer, printer, warehouses on, 10% tax
insert into config values('Company', 'Velmont Cafe & Resto');
insert into config values('Address', 'Jl. Braga No. 27, Bandung');
insert into config values('Phone', '(022) 4231 887');
insert into config values('Message1', 'Terima Kasih Atas Kunjungan Anda');
insert into config values('Message2', 'Selamat Menikmati Hidangan Kami');
insert into config values('Message3', 'Sampai Jumpa Kembali');
insert into config values('Port', 'Default');
insert into config values('Note', '0');
insert into config values('Warehouse', '1');
insert into config values('Discount', '0');
insert into config values('Tax', '10');

-- Operators; passwords in their stored form (each character code c as 255 - c):
-- Admin / admin with every right, Kasir / kasir at the till with the browse right
insert into operator values('Admin', char(158,155,146,150,145), 1, 1, 1, 1, 1, 1, 1, 1);
insert into operator values('Kasir', char(148,158,140,150,141), 1, 1, 0, 0, 0, 0, 0, 0);

-- The menu
insert into SaleItems values('ESP', 'Minuman', 'Espresso', 18000, 0, 'Gelas');
insert into SaleItems values('AMR', 'Minuman', 'Americano', 22000, 0, 'Gelas');
insert into SaleItems values('CPC', 'Minuman', 'Cappuccino', 28000, 0, 'Gelas');
insert into SaleItems values('LAT', 'Minuman', 'Cafe Latte', 28000, 0, 'Gelas');
insert into SaleItems values('KSGA', 'Minuman', 'Es Kopi Susu Gula Aren', 25000, 10, 'Gelas');
insert into SaleItems values('KTB', 'Minuman', 'Kopi Tubruk', 15000, 0, 'Gelas');
insert into SaleItems values('TMP', 'Minuman', 'Teh Manis Panas', 8000, 0, 'Gelas');
insert into SaleItems values('ETM', 'Minuman', 'Es Teh Manis', 10000, 0, 'Gelas');
insert into SaleItems values('EJR', 'Minuman', 'Es Jeruk Peras', 15000, 0, 'Gelas');
insert into SaleItems values('CKP', 'Minuman', 'Coklat Panas', 25000, 0, 'Gelas');
insert into SaleItems values('MTL', 'Minuman', 'Matcha Latte', 30000, 10, 'Gelas');
insert into SaleItems values('JAL', 'Minuman', 'Jus Alpukat', 22000, 0, 'Gelas');
insert into SaleItems values('NGS', 'Makanan', 'Nasi Goreng Spesial', 35000, 0, 'Porsi');
insert into SaleItems values('NGA', 'Makanan', 'Nasi Goreng Ayam', 30000, 0, 'Porsi');
insert into SaleItems values('MGJ', 'Makanan', 'Mie Goreng Jawa', 28000, 0, 'Porsi');
insert into SaleItems values('AYBM', 'Makanan', 'Ayam Bakar Madu', 38000, 0, 'Porsi');
insert into SaleItems values('AYGP', 'Makanan', 'Ayam Geprek Sambal Matah', 27000, 10, 'Porsi');
insert into SaleItems values('STA', 'Makanan', 'Sate Ayam (10 Tusuk)', 32000, 0, 'Porsi');
insert into SaleItems values('SPGB', 'Makanan', 'Spaghetti Bolognese', 40000, 0, 'Porsi');
insert into SaleItems values('NSP', 'Makanan', 'Nasi Putih', 6000, 0, 'Porsi');
insert into SaleItems values('KTGG', 'Snack', 'Kentang Goreng', 20000, 0, 'Porsi');
insert into SaleItems values('PSGK', 'Snack', 'Pisang Goreng Keju', 18000, 0, 'Porsi');
insert into SaleItems values('RBC', 'Snack', 'Roti Bakar Coklat Keju', 20000, 0, 'Porsi');
insert into SaleItems values('CRS', 'Snack', 'Croissant Butter', 22000, 0, 'Porsi');
insert into SaleItems values('CRG', 'Snack', 'Cireng Bumbu Rujak', 15000, 0, 'Porsi');

-- Ingredients bought from the suppliers
insert into ShopItems values('BKA', 'Kopi', 'Biji Kopi Arabika Gayo', 250000, 0, 'Kg');
insert into ShopItems values('BKR', 'Kopi', 'Biji Kopi Robusta Lampung', 140000, 0, 'Kg');
insert into ShopItems values('SUSU', 'Susu', 'Susu Segar Lembang', 22000, 0, 'Liter');
insert into ShopItems values('GPA', 'Bahan Pokok', 'Gula Pasir', 16000, 0, 'Kg');
insert into ShopItems values('GAR', 'Bahan Pokok', 'Gula Aren Cair', 45000, 0, 'Liter');
insert into ShopItems values('TEHM', 'Bahan Minuman', 'Teh Hitam Melati', 60000, 0, 'Kg');
insert into ShopItems values('JRK', 'Buah', 'Jeruk Peras Medan', 25000, 0, 'Kg');
insert into ShopItems values('COKL', 'Bahan Minuman', 'Bubuk Coklat', 120000, 5, 'Kg');
insert into ShopItems values('MTCH', 'Bahan Minuman', 'Bubuk Matcha', 350000, 5, 'Kg');
insert into ShopItems values('ALP', 'Buah', 'Alpukat Mentega', 30000, 0, 'Kg');
insert into ShopItems values('BRS', 'Bahan Pokok', 'Beras Pandan Wangi', 14000, 0, 'Kg');
insert into ShopItems values('TLR', 'Bahan Pokok', 'Telur Ayam', 2000, 0, 'Butir');
insert into ShopItems values('AYM', 'Daging', 'Daging Ayam Fillet', 38000, 0, 'Kg');
insert into ShopItems values('DSAP', 'Daging', 'Daging Sapi Giling', 130000, 0, 'Kg');
insert into ShopItems values('MIE', 'Bahan Pokok', 'Mie Telur Kering', 30000, 0, 'Kg');
insert into ShopItems values('SPGT', 'Bahan Pokok', 'Pasta Spaghetti', 40000, 0, 'Kg');
insert into ShopItems values('TPG', 'Bahan Pokok', 'Tepung Terigu', 12000, 0, 'Kg');
insert into ShopItems values('TPK', 'Bahan Pokok', 'Tepung Tapioka', 14000, 0, 'Kg');
insert into ShopItems values('MYK', 'Bahan Pokok', 'Minyak Goreng', 18000, 0, 'Liter');
insert into ShopItems values('BWG', 'Bumbu', 'Bawang Merah', 40000, 0, 'Kg');
insert into ShopItems values('KCP', 'Bumbu', 'Kecap Manis', 25000, 0, 'Liter');
insert into ShopItems values('MDU', 'Bumbu', 'Madu Hutan', 120000, 0, 'Liter');
insert into ShopItems values('KEJU', 'Susu', 'Keju Cheddar', 95000, 0, 'Kg');
insert into ShopItems values('KTGB', 'Beku', 'Kentang Goreng Beku', 45000, 0, 'Kg');
insert into ShopItems values('PSG', 'Buah', 'Pisang Kepok', 15000, 0, 'Kg');
insert into ShopItems values('ROTI', 'Roti', 'Roti Tawar Gandum', 18000, 0, 'Pack');
insert into ShopItems values('CRSB', 'Beku', 'Croissant Butter Beku', 8000, 0, 'Pcs');

-- Bottled drinks: bought and sold under one code, held as their own stock item
insert into inventory values('AIRM');
insert into ShopItems values('AIRM', 'Minuman Kemasan', 'Air Mineral 600 Ml', 3000, 0, 'Botol');
insert into SaleItems values('AIRM', 'Minuman Kemasan', 'Air Mineral 600 Ml', 8000, 0, 'Botol');
insert into inventory values('TEHB');
insert into ShopItems values('TEHB', 'Minuman Kemasan', 'Teh Botol Melati 350 Ml', 4000, 0, 'Botol');
insert into SaleItems values('TEHB', 'Minuman Kemasan', 'Teh Botol Melati 350 Ml', 10000, 0, 'Botol');
insert into inventory values('SODA');
insert into ShopItems values('SODA', 'Minuman Kemasan', 'Minuman Soda Kaleng 330 Ml', 6000, 0, 'Kaleng');
insert into SaleItems values('SODA', 'Minuman Kemasan', 'Minuman Soda Kaleng 330 Ml', 15000, 0, 'Kaleng');

-- Money coming in and going out besides sales and purchases
insert into `Cash InItems` values('MODAL', 'Modal', 'Modal Awal Kas', 500000, 0, '');
insert into `Cash InItems` values('SETOR', 'Modal', 'Setoran Pemilik', 1000000, 0, '');
insert into `Cash InItems` values('SEWARG', 'Pendapatan', 'Sewa Ruang Acara', 750000, 0, '');
insert into `Cash InItems` values('LAIN', 'Pendapatan', 'Pendapatan Lain-Lain', 100000, 0, '');
insert into `Cash OutItems` values('LSTR', 'Operasional', 'Listrik PLN', 1500000, 0, '');
insert into `Cash OutItems` values('PDAM', 'Operasional', 'Air PDAM', 300000, 0, '');
insert into `Cash OutItems` values('GAS', 'Operasional', 'Gas Elpiji 12 Kg', 210000, 0, '');
insert into `Cash OutItems` values('INET', 'Operasional', 'Internet Dan Wifi', 400000, 0, '');
insert into `Cash OutItems` values('SEWA', 'Operasional', 'Sewa Tempat', 5000000, 0, '');
insert into `Cash OutItems` values('GAJI', 'Gaji', 'Gaji Karyawan', 2500000, 0, '');
insert into `Cash OutItems` values('KBRS', 'Operasional', 'Kebersihan Dan Sampah', 100000, 0, '');
insert into `Cash OutItems` values('PRKR', 'Operasional', 'Parkir Dan Keamanan', 150000, 0, '');
insert into `Cash OutItems` values('PRVE', 'Pemilik', 'Pengambilan Pribadi', 1000000, 0, '');

-- Customers: the tables of the room, take-away, and a few regulars
insert into Customer values('MEJA01', 'Meja 01', '', '', '');
insert into Customer values('MEJA02', 'Meja 02', '', '', '');
insert into Customer values('MEJA03', 'Meja 03', '', '', '');
insert into Customer values('MEJA04', 'Meja 04', '', '', '');
insert into Customer values('MEJA05', 'Meja 05', '', '', '');
insert into Customer values('MEJA06', 'Meja 06', '', '', '');
insert into Customer values('MEJA07', 'Meja 07', '', '', '');
insert into Customer values('MEJA08', 'Meja 08', '', '', '');
insert into Customer values('BAWA', 'Bawa Pulang', '', '', '');
insert into Customer values('PLG001', 'Budi Santoso', 'Jl. Dago No. 112, Bandung', '0812 2233 4455', '');
insert into Customer values('PLG002', 'Siti Rahmawati', 'Jl. Riau No. 8, Bandung', '0813 9876 5432', '');
insert into Customer values('PLG003', 'Andi Wijaya', 'Jl. Cihampelas No. 45, Bandung', '0821 1122 3344', '');
insert into Customer values('PLG004', 'PT Mitra Sejahtera', 'Jl. Asia Afrika No. 65, Bandung', '(022) 4205 511', '(022) 4205 512');

-- Suppliers
insert into Supplier values('SUP01', 'CV Kopi Nusantara', 'Jl. Sukajadi No. 201, Bandung', '(022) 2031 456', '(022) 2031 457');
insert into Supplier values('SUP02', 'Toko Sembako Makmur', 'Pasar Baru Blok C No. 12, Bandung', '(022) 4236 780', '');
insert into Supplier values('SUP03', 'UD Sumber Segar', 'Pasar Kosambi Los 4, Bandung', '0815 6000 7788', '');
insert into Supplier values('SUP04', 'KPBS Susu Lembang', 'Jl. Raya Lembang No. 9, Bandung Barat', '(022) 2786 123', '(022) 2786 124');
insert into Supplier values('SUP05', 'Distributor Minuman Jaya', 'Jl. Soekarno Hatta No. 590, Bandung', '(022) 7562 300', '(022) 7562 301');

-- Persons: staff and the owner, for cash in and cash out
insert into Person values('PMLK', 'Hendra Gunawan', 'Jl. Setiabudi No. 77, Bandung', '0811 220 3344', '');
insert into Person values('KRY01', 'Dewi Lestari', 'Jl. Cikutra No. 15, Bandung', '0857 2211 0099', '');
insert into Person values('KRY02', 'Rudi Hartono', 'Jl. Kiaracondong No. 3, Bandung', '0878 3344 5566', '');
insert into Person values('KRY03', 'Agus Setiawan', 'Jl. Buah Batu No. 120, Bandung', '0822 4455 6677', '');

-- Warehouses
insert into Warehouse values('GD01', 'Gudang Utama', 'Jl. Braga No. 27, Bandung', '(022) 4231 887', '');
insert into Warehouse values('GD02', 'Gudang Dapur', 'Jl. Braga No. 27, Bandung', '(022) 4231 887', '');

-- Stock items: every ingredient, and the bottled drinks under their own code
insert into stock values('BKA', 'Biji Kopi Arabika Gayo', 'Kg');
insert into stock values('BKR', 'Biji Kopi Robusta Lampung', 'Kg');
insert into stock values('SUSU', 'Susu Segar Lembang', 'Liter');
insert into stock values('GPA', 'Gula Pasir', 'Kg');
insert into stock values('GAR', 'Gula Aren Cair', 'Liter');
insert into stock values('TEHM', 'Teh Hitam Melati', 'Kg');
insert into stock values('JRK', 'Jeruk Peras Medan', 'Kg');
insert into stock values('COKL', 'Bubuk Coklat', 'Kg');
insert into stock values('MTCH', 'Bubuk Matcha', 'Kg');
insert into stock values('ALP', 'Alpukat Mentega', 'Kg');
insert into stock values('BRS', 'Beras Pandan Wangi', 'Kg');
insert into stock values('TLR', 'Telur Ayam', 'Butir');
insert into stock values('AYM', 'Daging Ayam Fillet', 'Kg');
insert into stock values('DSAP', 'Daging Sapi Giling', 'Kg');
insert into stock values('MIE', 'Mie Telur Kering', 'Kg');
insert into stock values('SPGT', 'Pasta Spaghetti', 'Kg');
insert into stock values('TPG', 'Tepung Terigu', 'Kg');
insert into stock values('TPK', 'Tepung Tapioka', 'Kg');
insert into stock values('MYK', 'Minyak Goreng', 'Liter');
insert into stock values('BWG', 'Bawang Merah', 'Kg');
insert into stock values('KCP', 'Kecap Manis', 'Liter');
insert into stock values('MDU', 'Madu Hutan', 'Liter');
insert into stock values('KEJU', 'Keju Cheddar', 'Kg');
insert into stock values('KTGB', 'Kentang Goreng Beku', 'Kg');
insert into stock values('PSG', 'Pisang Kepok', 'Kg');
insert into stock values('ROTI', 'Roti Tawar Gandum', 'Pack');
insert into stock values('CRSB', 'Croissant Butter Beku', 'Pcs');
insert into stock values('AIRM', 'Air Mineral 600 Ml', 'Botol');
insert into stock values('TEHB', 'Teh Botol Melati 350 Ml', 'Botol');
insert into stock values('SODA', 'Minuman Soda Kaleng 330 Ml', 'Kaleng');

-- Purchase recipes: one unit bought brings one unit of its stock item in
insert into stockshop values(1, 'BKA', 'BKA', '1');
insert into stockshop values(2, 'BKR', 'BKR', '1');
insert into stockshop values(3, 'SUSU', 'SUSU', '1');
insert into stockshop values(4, 'GPA', 'GPA', '1');
insert into stockshop values(5, 'GAR', 'GAR', '1');
insert into stockshop values(6, 'TEHM', 'TEHM', '1');
insert into stockshop values(7, 'JRK', 'JRK', '1');
insert into stockshop values(8, 'COKL', 'COKL', '1');
insert into stockshop values(9, 'MTCH', 'MTCH', '1');
insert into stockshop values(10, 'ALP', 'ALP', '1');
insert into stockshop values(11, 'BRS', 'BRS', '1');
insert into stockshop values(12, 'TLR', 'TLR', '1');
insert into stockshop values(13, 'AYM', 'AYM', '1');
insert into stockshop values(14, 'DSAP', 'DSAP', '1');
insert into stockshop values(15, 'MIE', 'MIE', '1');
insert into stockshop values(16, 'SPGT', 'SPGT', '1');
insert into stockshop values(17, 'TPG', 'TPG', '1');
insert into stockshop values(18, 'TPK', 'TPK', '1');
insert into stockshop values(19, 'MYK', 'MYK', '1');
insert into stockshop values(20, 'BWG', 'BWG', '1');
insert into stockshop values(21, 'KCP', 'KCP', '1');
insert into stockshop values(22, 'MDU', 'MDU', '1');
insert into stockshop values(23, 'KEJU', 'KEJU', '1');
insert into stockshop values(24, 'KTGB', 'KTGB', '1');
insert into stockshop values(25, 'PSG', 'PSG', '1');
insert into stockshop values(26, 'ROTI', 'ROTI', '1');
insert into stockshop values(27, 'CRSB', 'CRSB', '1');
insert into stockshop values(28, 'AIRM', 'AIRM', 1);
insert into stockshop values(29, 'TEHB', 'TEHB', 1);
insert into stockshop values(30, 'SODA', 'SODA', 1);

-- Sale recipes: what one portion or glass takes out of stock
insert into stocksale values(1, 'BKA', 'ESP', '0,018');
insert into stocksale values(2, 'BKA', 'AMR', '0,018');
insert into stocksale values(3, 'BKA', 'CPC', '0,018');
insert into stocksale values(4, 'SUSU', 'CPC', '0,15');
insert into stocksale values(5, 'BKA', 'LAT', '0,018');
insert into stocksale values(6, 'SUSU', 'LAT', '0,2');
insert into stocksale values(7, 'BKR', 'KSGA', '0,02');
insert into stocksale values(8, 'SUSU', 'KSGA', '0,15');
insert into stocksale values(9, 'GAR', 'KSGA', '0,03');
insert into stocksale values(10, 'BKR', 'KTB', '0,015');
insert into stocksale values(11, 'GPA', 'KTB', '0,02');
insert into stocksale values(12, 'TEHM', 'TMP', '0,005');
insert into stocksale values(13, 'GPA', 'TMP', '0,03');
insert into stocksale values(14, 'TEHM', 'ETM', '0,005');
insert into stocksale values(15, 'GPA', 'ETM', '0,03');
insert into stocksale values(16, 'JRK', 'EJR', '0,3');
insert into stocksale values(17, 'GPA', 'EJR', '0,02');
insert into stocksale values(18, 'COKL', 'CKP', '0,03');
insert into stocksale values(19, 'SUSU', 'CKP', '0,2');
insert into stocksale values(20, 'GPA', 'CKP', '0,02');
insert into stocksale values(21, 'MTCH', 'MTL', '0,008');
insert into stocksale values(22, 'SUSU', 'MTL', '0,2');
insert into stocksale values(23, 'GPA', 'MTL', '0,02');
insert into stocksale values(24, 'ALP', 'JAL', '0,3');
insert into stocksale values(25, 'SUSU', 'JAL', '0,1');
insert into stocksale values(26, 'GPA', 'JAL', '0,02');
insert into stocksale values(27, 'BRS', 'NGS', '0,15');
insert into stocksale values(28, 'TLR', 'NGS', '1');
insert into stocksale values(29, 'AYM', 'NGS', '0,05');
insert into stocksale values(30, 'BWG', 'NGS', '0,01');
insert into stocksale values(31, 'KCP', 'NGS', '0,02');
insert into stocksale values(32, 'MYK', 'NGS', '0,03');
insert into stocksale values(33, 'BRS', 'NGA', '0,15');
insert into stocksale values(34, 'AYM', 'NGA', '0,1');
insert into stocksale values(35, 'BWG', 'NGA', '0,01');
insert into stocksale values(36, 'KCP', 'NGA', '0,02');
insert into stocksale values(37, 'MYK', 'NGA', '0,03');
insert into stocksale values(38, 'MIE', 'MGJ', '0,12');
insert into stocksale values(39, 'TLR', 'MGJ', '1');
insert into stocksale values(40, 'KCP', 'MGJ', '0,02');
insert into stocksale values(41, 'MYK', 'MGJ', '0,03');
insert into stocksale values(42, 'AYM', 'AYBM', '0,25');
insert into stocksale values(43, 'MDU', 'AYBM', '0,02');
insert into stocksale values(44, 'KCP', 'AYBM', '0,03');
insert into stocksale values(45, 'BRS', 'AYBM', '0,15');
insert into stocksale values(46, 'AYM', 'AYGP', '0,2');
insert into stocksale values(47, 'TPG', 'AYGP', '0,05');
insert into stocksale values(48, 'MYK', 'AYGP', '0,1');
insert into stocksale values(49, 'BRS', 'AYGP', '0,15');
insert into stocksale values(50, 'AYM', 'STA', '0,2');
insert into stocksale values(51, 'KCP', 'STA', '0,03');
insert into stocksale values(52, 'BRS', 'STA', '0,15');
insert into stocksale values(53, 'SPGT', 'SPGB', '0,12');
insert into stocksale values(54, 'DSAP', 'SPGB', '0,08');
insert into stocksale values(55, 'KEJU', 'SPGB', '0,02');
insert into stocksale values(56, 'BRS', 'NSP', '0,15');
insert into stocksale values(57, 'KTGB', 'KTGG', '0,2');
insert into stocksale values(58, 'MYK', 'KTGG', '0,05');
insert into stocksale values(59, 'PSG', 'PSGK', '0,25');
insert into stocksale values(60, 'TPG', 'PSGK', '0,05');
insert into stocksale values(61, 'KEJU', 'PSGK', '0,02');
insert into stocksale values(62, 'MYK', 'PSGK', '0,05');
insert into stocksale values(63, 'ROTI', 'RBC', '0,25');
insert into stocksale values(64, 'COKL', 'RBC', '0,02');
insert into stocksale values(65, 'KEJU', 'RBC', '0,02');
insert into stocksale values(66, 'CRSB', 'CRS', '1');
insert into stocksale values(67, 'TPK', 'CRG', '0,1');
insert into stocksale values(68, 'MYK', 'CRG', '0,05');
insert into stocksale values(69, 'AIRM', 'AIRM', 1);
insert into stocksale values(70, 'TEHB', 'TEHB', 1);
insert into stocksale values(71, 'SODA', 'SODA', 1);

-- Opening count of every stock item
insert into stockflow values(1, '2010-01-01', 'Opname', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', 5, 0);
insert into stockflow values(2, '2010-01-01', 'Opname', 'BKR', 'Biji Kopi Robusta Lampung', 'Kg', 8, 0);
insert into stockflow values(3, '2010-01-01', 'Opname', 'SUSU', 'Susu Segar Lembang', 'Liter', 30, 0);
insert into stockflow values(4, '2010-01-01', 'Opname', 'GPA', 'Gula Pasir', 'Kg', 15, 0);
insert into stockflow values(5, '2010-01-01', 'Opname', 'GAR', 'Gula Aren Cair', 'Liter', 4, 0);
insert into stockflow values(6, '2010-01-01', 'Opname', 'TEHM', 'Teh Hitam Melati', 'Kg', 2, 0);
insert into stockflow values(7, '2010-01-01', 'Opname', 'JRK', 'Jeruk Peras Medan', 'Kg', 10, 0);
insert into stockflow values(8, '2010-01-01', 'Opname', 'COKL', 'Bubuk Coklat', 'Kg', 2.5, 0);
insert into stockflow values(9, '2010-01-01', 'Opname', 'MTCH', 'Bubuk Matcha', 'Kg', 1, 0);
insert into stockflow values(10, '2010-01-01', 'Opname', 'ALP', 'Alpukat Mentega', 'Kg', 6, 0);
insert into stockflow values(11, '2010-01-01', 'Opname', 'BRS', 'Beras Pandan Wangi', 'Kg', 50, 0);
insert into stockflow values(12, '2010-01-01', 'Opname', 'TLR', 'Telur Ayam', 'Butir', 90, 0);
insert into stockflow values(13, '2010-01-01', 'Opname', 'AYM', 'Daging Ayam Fillet', 'Kg', 12, 0);
insert into stockflow values(14, '2010-01-01', 'Opname', 'DSAP', 'Daging Sapi Giling', 'Kg', 4, 0);
insert into stockflow values(15, '2010-01-01', 'Opname', 'MIE', 'Mie Telur Kering', 'Kg', 5, 0);
insert into stockflow values(16, '2010-01-01', 'Opname', 'SPGT', 'Pasta Spaghetti', 'Kg', 5, 0);
insert into stockflow values(17, '2010-01-01', 'Opname', 'TPG', 'Tepung Terigu', 'Kg', 10, 0);
insert into stockflow values(18, '2010-01-01', 'Opname', 'TPK', 'Tepung Tapioka', 'Kg', 5, 0);
insert into stockflow values(19, '2010-01-01', 'Opname', 'MYK', 'Minyak Goreng', 'Liter', 20, 0);
insert into stockflow values(20, '2010-01-01', 'Opname', 'BWG', 'Bawang Merah', 'Kg', 3, 0);
insert into stockflow values(21, '2010-01-01', 'Opname', 'KCP', 'Kecap Manis', 'Liter', 6, 0);
insert into stockflow values(22, '2010-01-01', 'Opname', 'MDU', 'Madu Hutan', 'Liter', 2, 0);
insert into stockflow values(23, '2010-01-01', 'Opname', 'KEJU', 'Keju Cheddar', 'Kg', 3, 0);
insert into stockflow values(24, '2010-01-01', 'Opname', 'KTGB', 'Kentang Goreng Beku', 'Kg', 10, 0);
insert into stockflow values(25, '2010-01-01', 'Opname', 'PSG', 'Pisang Kepok', 'Kg', 8, 0);
insert into stockflow values(26, '2010-01-01', 'Opname', 'ROTI', 'Roti Tawar Gandum', 'Pack', 10, 0);
insert into stockflow values(27, '2010-01-01', 'Opname', 'CRSB', 'Croissant Butter Beku', 'Pcs', 40, 0);
insert into stockflow values(28, '2010-01-01', 'Opname', 'AIRM', 'Air Mineral 600 Ml', 'Botol', 48, 0);
insert into stockflow values(29, '2010-01-01', 'Opname', 'TEHB', 'Teh Botol Melati 350 Ml', 'Botol', 48, 0);
insert into stockflow values(30, '2010-01-01', 'Opname', 'SODA', 'Minuman Soda Kaleng 330 Ml', 'Kaleng', 24, 0);
