<!DOCTYPE html>
<!-- The map of Harventis DVR Tools: the routes of the recordings, the car, and a click on a
     route that the viewer turns into a jump of the video. The viewer drives it through
     getContentHis, clearHistroy, MoveCar and the variable varLocal (DeskMap.js). -->
<html lang="zh-Hant">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Harventis DVR Tools</title>
<link rel="stylesheet" href="leaflet/leaflet.css">
<link rel="stylesheet" href="DeskMap.css">
</head>
<body scroll="no">
<div id="map"></div>
<script src="leaflet/leaflet.js"></script>
<script src="DeskMap.js"></script>
</body>
</html>
